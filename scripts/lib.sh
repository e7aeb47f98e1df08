# Shared by the project's commands: installs what is missing, builds.
# Sourced, not run.

KARVELLO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build, the tests and the program need.
KARVELLO_PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libsqlite3-dev libcrypt-dev
  libgtest-dev libgmock-dev
  fonts-ipafont-gothic
)

# Installs the packages given that are not installed yet; quiet and quick when
# nothing is missing. apt-get runs as root, through sudo otherwise.
karvello_install() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2
      return 1
    fi
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# karvello_build BUILD_DIR [cmake options...]
karvello_build() {
  local dir="$1"; shift
  cmake -S "$KARVELLO_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}
