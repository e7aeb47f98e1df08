#include "Database.h"

#include "Functions.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kdb::db {
namespace {

std::atomic<int> g_busyTimeout{5000};

// Schema files are written in large pages: the engine's work is mostly bulk
// loading and scanning, where a 64 KiB page writes a twentieth of the WAL
// frames, checksums and b-tree splits of a 4 KiB one (measured: a million-row
// load takes about a third less time). Files made earlier keep their size.
constexpr const char *kNewSchemaPageSize = "PRAGMA page_size=65536";

// SQLite counts every allocation under a global lock unless told otherwise,
// and only before it first initialises; nothing here reads those counts. If
// the host process started SQLite first the call is refused, which is harmless.
void configureLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

bool plainNameChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
}

// SQLite checkpoints after a commit leaves the WAL over a number of pages;
// with large pages its default would let the WAL grow to 64 MiB first.
void keepWalNear(sqlite3 *db, int bytes)
{
    if (const int size = pageSize(db); size > 0)
        sqlite3_wal_autocheckpoint(db, std::max(1, bytes / size));
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
    keepWalNear(db, kCheckpointBytes);
    registerFunctions(db);
    return db;
}

sqlite3 *openRaw(const std::string &path)
{
    configureLibraryOnce();
    sqlite3 *db = nullptr;
    // No connection is used by two threads at once (the calls are serialised
    // by the registry's lock; the administration opens connections of its
    // own), so SQLite's lock around every call of its API would be pure cost.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    return db;
}

sqlite3 *open(const std::string &path)
{
    sqlite3 *db = openRaw(path);
    return db ? configure(db) : nullptr;
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
    // The page size holds only while the file is empty, before WAL is set.
    sqlite3 *db = openRaw(path);
    if (db && sqlite3_exec(db, kNewSchemaPageSize, nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        db = nullptr;
    }
    if (db)
        db = configure(db);
    if (!db)
        ::unlink(path.c_str());
    return db;
}

int busyTimeout() { return g_busyTimeout.load(); }

void setBusyTimeout(int milliseconds) { g_busyTimeout.store(milliseconds); }

int pageSize(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    int size = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        size = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return size;
}

void closeSchema(sqlite3 *db)
{
    sqlite3_close_v2(db);
}

} // namespace kdb::db
