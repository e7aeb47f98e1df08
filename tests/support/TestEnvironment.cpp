#include "TestEnvironment.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testenv {
namespace {
std::string g_root;

void removeRoot()
{
    std::error_code ec;
    if (!g_root.empty())
        fs::remove_all(g_root, ec);
}
} // namespace

void isolateUserFolders()
{
    std::string tmpl = (fs::temp_directory_path() / "karvello-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("cannot create a temporary folder");
    g_root = tmpl;
    std::atexit(removeRoot);
    for (const char *sub : {"home", "config", "data", "runtime"})
        fs::create_directories(fs::path(g_root) / sub);
    setenv("HOME", (g_root + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (g_root + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (g_root + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (g_root + "/runtime").c_str(), 1);
    fs::permissions(g_root + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
}

const std::string &root() { return g_root; }

std::string makeTempDir(const std::string &hint)
{
    static std::atomic<int> counter{0};
    fs::path dir = fs::path(g_root) / (hint + "-" + std::to_string(++counter));
    fs::create_directories(dir);
    return dir.string();
}

std::string binDir()
{
    if (const char *dir = std::getenv("KARVELLO_BIN_DIR"))
        return dir;
    return fs::canonical("/proc/self/exe").parent_path().string();
}

} // namespace testenv
