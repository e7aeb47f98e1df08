#include "Session.h"

#include "Admin.h"
#include "Database.h"
#include "Password.h"
#include "SchemaHeader.h"
#include "SqlError.h"
#include "SqliteUtil.h"

namespace kdb {

namespace {

std::string storedHash(sqlite3 *db, const std::string &user)
{
    sqlite3_stmt *s = nullptr;
    std::string hash;
    if (sqlite3_prepare_v2(db, "SELECT hash FROM kdb_user WHERE name = ?1", -1, &s, nullptr) == SQLITE_OK) {
        bindStatic(s, 1, user);
        if (sqlite3_step(s) == SQLITE_ROW)
            hash.assign(columnText(s, 0));
    }
    sqlite3_finalize(s);
    return hash;
}

} // namespace

std::unique_ptr<Session> Session::logon(std::string_view user, std::string_view password, std::string_view connect)
{
    const std::string name = admin::normalizeUserName(user);
    sqlite3 *db = nullptr;
    std::string hash;
    std::string file;
    if (!name.empty()) {
        // A file that is not one of ours is no user; it is never opened.
        file = db::schemaFile(admin::databaseFolder(connect), name);
        if (db::hasSchemaHeader(file)) {
            // The user's file is there and readable, yet SQLite cannot work
            // on it (a read-only folder leaves it no room for its WAL index):
            // that is no wrong password.
            db = db::openSchema(file);
            if (!db)
                throw SqlError(ora::kCannotOpenFile);
            hash = storedHash(db, name);
        }
    }
    // An unknown user goes through the same hashing work as a known one.
    if (!password::verify(password, hash) || hash.empty()) {
        db::closeSchema(db);
        throw SqlError(ora::kLogonDenied);
    }
    return std::unique_ptr<Session>(new Session(db, name, file));
}

Session::Session(sqlite3 *db, std::string schema, const std::string &file)
    : m_db(db)
    , m_catalog(db, std::move(schema))
    , m_checkpointer(std::make_unique<Checkpointer>(db, file, db::kCheckpointBytes))
{
}

Session::~Session()
{
    // The checkpoint thread's connection goes first, so that closing the
    // session's, the last, can checkpoint the rest and remove the WAL.
    m_checkpointer.reset();
    db::closeSchema(m_db);
}

bool Session::lostTransaction() const
{
    return m_writing && sqlite3_get_autocommit(m_db);
}

void Session::beginWrite()
{
    // In auto-commit mode the lost transaction was the failed statement's
    // own, and that statement has said so.
    if (lostTransaction() && !m_autoCommit)
        throw SqlError(ora::kTransactionRolledBack);
    if (sqlite3_get_autocommit(m_db)) {
        execSql(m_db, "BEGIN IMMEDIATE");
        m_writing = true;
    }
}

void Session::statementDone()
{
    if (m_autoCommit)
        commit();
}

void Session::commit()
{
    if (lostTransaction()) {
        m_writing = false;
        if (m_autoCommit)
            return;
        throw SqlError(ora::kTransactionRolledBack);
    }
    if (!sqlite3_get_autocommit(m_db)) {
        try {
            execSql(m_db, "COMMIT");
        } catch (...) {
            // A commit that fails and takes the transaction with it ends it.
            if (sqlite3_get_autocommit(m_db))
                m_writing = false;
            throw;
        }
    }
    m_writing = false;
}

void Session::rollback()
{
    m_writing = false;
    if (!sqlite3_get_autocommit(m_db))
        execSql(m_db, "ROLLBACK");
}

} // namespace kdb
