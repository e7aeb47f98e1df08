#include "Database.h"

#include "Functions.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kdb::db {
namespace {

std::atomic<int> g_busyTimeout{5000};

bool plainNameChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
}

sqlite3 *configure(sqlite3 *db)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, g_busyTimeout.load());
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    if (sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr)
        != SQLITE_OK) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    registerFunctions(db);
    return db;
}

sqlite3 *open(const std::string &path)
{
    sqlite3 *db = nullptr;
    // No connection is used by two threads at once (the calls are serialised
    // by the registry's lock; the administration opens connections of its
    // own), so SQLite's lock around every call of its API would be pure cost.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    return configure(db);
}

} // namespace

std::string schemaFile(const std::string &folder, const std::string &user)
{
    std::string name;
    for (unsigned char c : user) {
        if (plainNameChar(c)) {
            name.push_back(char(c));
        } else {
            static const char hex[] = "0123456789ABCDEF";
            name.push_back('%');
            name.push_back(hex[c >> 4]);
            name.push_back(hex[c & 15]);
        }
    }
    return folder + "/" + name + ".db";
}

bool makeFolder(const std::string &folder)
{
    if (folder.empty())
        return false;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolder(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

sqlite3 *openSchema(const std::string &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;
    return open(path);
}

sqlite3 *createSchema(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return nullptr;
    ::fchmod(fd, 0600);
    ::close(fd);
    sqlite3 *db = open(path);
    if (!db)
        ::unlink(path.c_str());
    return db;
}

int busyTimeout() { return g_busyTimeout.load(); }

void setBusyTimeout(int milliseconds) { g_busyTimeout.store(milliseconds); }

void closeSchema(sqlite3 *db)
{
    sqlite3_close_v2(db);
}

} // namespace kdb::db
