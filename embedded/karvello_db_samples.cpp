#include "karvello_db_samples.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iconv.h>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kdbtool {
namespace {

// Fields: CODE, NAME, PRICE, STOCK, RELEASED (PRODUCTS' column order, which
// is the order the program maps fields in before anyone drags a column).
const char kUtf8Sample[] =
    "P10001,緑茶ティーバッグ 20袋,398,120,2024-04-01 09:00:00\n"
    "P10002,\"ほうじ茶, 徳用\",520.5,40,2024-05-15 00:00:00\n"
    "P10003,抹茶ラテの素,780,0,2024-06-01 10:30:00\n"
    "P10004,麦茶パック,250,300,2024-07-20 00:00:00\n"
    "P10005,玄米茶,455.25,15,\n";

// Written in Shift-JIS with CR LF, as such files usually come. Its second
// line gives the date alone: the time may be left out.
const char kShiftJisSample[] =
    "P20001,煎茶(静岡産),1200,25,2024-08-01 09:00:00\r\n"
    "P20002,番茶,330,80,2024-08-15\r\n"
    "P20003,和菓子詰め合わせ,1580,12,2024-09-01 00:00:00\r\n"
    "P20004,湯のみ 青磁,2400,6,2024-10-10 00:00:00\r\n";

// Two good lines around one line for each kind of refusal, in this order:
// a name over 40 bytes, a letter O in a price, 30 February, a code already
// used on the first line, a price over NUMBER(8,2), and no name at all.
const char kBadSample[] =
    "P30001,煎茶ティーバッグ,350,10,2024-01-10 00:00:00\n"
    "P30002,名前が長すぎる商品名の例：四十バイトを超えるテキスト,100,1,2024-01-10 00:00:00\n"
    "P30003,ほうじ茶,12O,5,2024-01-10 00:00:00\n"
    "P30004,麦茶,250,5,2024-02-30 00:00:00\n"
    "P30001,重複したコード,300,5,2024-01-10 00:00:00\n"
    "P30005,玄米茶,123456789,5,2024-01-10 00:00:00\n"
    "P30006,,200,5,2024-01-10 00:00:00\n"
    "P30007,抹茶,980,3,2024-03-03 12:00:00\n";

std::optional<std::string> toShiftJis(const std::string &utf8, std::string *error)
{
    iconv_t cd = iconv_open("SHIFT_JIS", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        *error = std::string("cannot convert to Shift-JIS: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::string out(utf8.size(), '\0'); // Shift-JIS never needs more bytes than UTF-8
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    int savedErrno = errno;
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) {
        *error = std::string("cannot convert to Shift-JIS: ") + std::strerror(savedErrno);
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

// Through a temporary file and a rename, so a failed write never leaves a
// truncated sample under the real name.
bool writeFileAtomically(const fs::path &path, const std::string &bytes, std::string *error)
{
    fs::path temporary = path;
    temporary += ".tmp";
    std::FILE *file = std::fopen(temporary.c_str(), "wb");
    bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0)
        ok = false;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    *error = "cannot write " + path.string() + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
}

} // namespace

std::string defaultSamplesFolder()
{
    const char *dataHome = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (dataHome && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd *entry = getpwuid(getuid());
            home = entry ? entry->pw_dir : "/";
        }
        base = fs::path(home) / ".local" / "share";
    }
    return (base / "karvello" / "samples").string();
}

bool writeSamples(const std::string &folder, std::vector<std::string> *written, std::string *error)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        *error = "cannot create " + folder + ": " + ec.message();
        return false;
    }
    auto shiftJis = toShiftJis(kShiftJisSample, error);
    if (!shiftJis)
        return false;
    const std::pair<const char *, std::string> files[] = {
        {"products_utf8.csv", kUtf8Sample},
        {"products_sjis.csv", *shiftJis},
        {"products_bad.csv", kBadSample},
    };
    for (const auto &[name, bytes] : files) {
        fs::path path = fs::path(folder) / name;
        if (!writeFileAtomically(path, bytes, error))
            return false;
        written->push_back(path.string());
    }
    return true;
}

} // namespace kdbtool
