#include "Admin.h"

#include "Catalog.h"
#include "Database.h"
#include "Lexer.h"
#include "OraErrors.h"
#include "Password.h"
#include "SchemaHeader.h"
#include "SqlError.h"
#include "SqliteUtil.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace kdb::admin {

namespace {

int failWith(int code, std::string *message, std::string_view detail = {})
{
    if (message)
        *message = oraMessage(code, detail);
    return code;
}

std::string dataHome()
{
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char *home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share";
}

bool storeHash(sqlite3 *db, const std::string &user, const std::string &hash, bool replace)
{
    StmtPtr s = prepare(db, replace ? "UPDATE kdb_user SET hash = ?2 WHERE name = ?1"
                                    : "INSERT INTO kdb_user(name, hash) VALUES(?1, ?2)");
    bindStatic(s.get(), 1, user);
    bindStatic(s.get(), 2, hash);
    return sqlite3_step(s.get()) == SQLITE_DONE;
}

} // namespace

std::string databaseFolder(std::string_view connect)
{
    if (connect.find('/') != std::string_view::npos)
        return std::string(connect);
    const std::string name = connect.empty() ? "default" : std::string(connect);
    return dataHome() + "/karvello/db/" + name;
}

std::string normalizeUserName(std::string_view name)
{
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        std::string_view inner = name.substr(1, name.size() - 2);
        if (inner.empty() || inner.size() > sql::kMaxIdentifierLength
            || inner.find_first_of("\"\0", 0, 2) != std::string_view::npos)
            return {};
        return std::string(inner);
    }
    try {
        const auto tokens = sql::tokenize(name);
        if (tokens.size() != 2 || tokens[0].kind != sql::TokenKind::Identifier || tokens[0].begin != 0
            || tokens[0].end != name.size())
            return {};
        return tokens[0].value;
    } catch (const SqlError &) {
        return {};
    }
}

int createUser(std::string_view connect, std::string_view user, std::string_view password, std::string *message)
{
    const std::string name = normalizeUserName(user);
    if (name.empty())
        return failWith(1935, message);
    if (password.empty())
        return failWith(988, message);
    const std::string folder = databaseFolder(connect);
    if (!db::makeFolder(folder))
        return failWith(ora::kIoError, message);
    const std::string file = db::schemaFile(folder, name);
    if (::access(file.c_str(), F_OK) == 0)
        return failWith(1920, message, name);
    const std::string hash = password::hash(password);
    if (hash.empty())
        return failWith(ora::kInternal, message, "crypt");
    sqlite3 *db = db::createSchema(file);
    if (!db)
        return failWith(ora::kIoError, message);
    try {
        execSql(db, "BEGIN");
        Catalog::initialize(db);
        if (!storeHash(db, name, hash, false))
            throw SqlError(ora::kIoError);
        execSql(db, "COMMIT");
    } catch (const SqlError &e) {
        db::closeSchema(db);
        ::unlink(file.c_str());
        return failWith(e.code(), message, e.detail());
    }
    db::closeSchema(db);
    return 0;
}

int dropUser(std::string_view connect, std::string_view user, std::string *message)
{
    const std::string name = normalizeUserName(user);
    if (name.empty())
        return failWith(1935, message);
    const std::string file = db::schemaFile(databaseFolder(connect), name);
    if (::access(file.c_str(), F_OK) != 0)
        return failWith(1918, message, name);
    if (::unlink(file.c_str()) != 0)
        return failWith(ora::kIoError, message);
    ::unlink((file + "-wal").c_str());
    ::unlink((file + "-shm").c_str());
    return 0;
}

int setPassword(std::string_view connect, std::string_view user, std::string_view password, std::string *message)
{
    const std::string name = normalizeUserName(user);
    if (name.empty())
        return failWith(1935, message);
    if (password.empty())
        return failWith(988, message);
    const std::string file = db::schemaFile(databaseFolder(connect), name);
    sqlite3 *db = db::hasSchemaHeader(file) ? db::openSchema(file) : nullptr;
    if (!db)
        return failWith(1918, message, name);
    const std::string hash = password::hash(password);
    bool ok = false;
    try {
        ok = !hash.empty() && storeHash(db, name, hash, true);
    } catch (const SqlError &) {
        // A database in WAL mode that has no user table of ours.
    }
    db::closeSchema(db);
    return ok ? 0 : failWith(ora::kIoError, message);
}

bool userExists(std::string_view connect, std::string_view user)
{
    const std::string name = normalizeUserName(user);
    return !name.empty() && ::access(db::schemaFile(databaseFolder(connect), name).c_str(), F_OK) == 0;
}

} // namespace kdb::admin
