#pragma once
// One logon: a user's schema file opened on SQLite, its transaction state and
// the last error that oerhms may be asked to describe.
#include "Catalog.h"
#include "Checkpointer.h"

#include <memory>
#include <sqlite3.h>
#include <string>

namespace kdb {

class Session {
public:
    // Logs `user` on to the database `connect` names. Throws SqlError 1017
    // for an unknown user and a wrong password alike.
    static std::unique_ptr<Session> logon(std::string_view user, std::string_view password,
                                          std::string_view connect);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    sqlite3 *db() const { return m_db; }
    Catalog &catalog() { return m_catalog; }
    const std::string &schema() const { return m_catalog.schema(); }

    bool autoCommit() const { return m_autoCommit; }
    void setAutoCommit(bool on) { m_autoCommit = on; }

    // Opens the write transaction if none is open (54 when another session
    // holds the lock too long). 2091 while a transaction that SQLite rolled
    // back on its own (a full disk, an I/O error) has not been ended by a
    // commit or a rollback: a new one would store later rows without the
    // earlier ones the caller believes stored.
    void beginWrite();
    // After a statement that changed data: commits in auto-commit mode.
    void statementDone();
    // 2091, ending it, when the transaction was rolled back by SQLite.
    void commit();
    void rollback();
    // Runs a definition in a transaction of its own after committing the
    // open one, as Oracle does for DDL.
    template <typename F>
    void runDefinition(F &&body)
    {
        commit();
        beginWrite();
        try {
            body();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    void setLastError(int code, std::string detail)
    {
        m_lastCode = code;
        m_lastDetail = std::move(detail);
    }
    // The detail of the last error when it was `code`.
    std::string detailFor(int code) const { return code == m_lastCode ? m_lastDetail : std::string(); }

private:
    Session(sqlite3 *db, std::string schema, const std::string &file);

    sqlite3 *m_db;
    Catalog m_catalog;
    std::unique_ptr<Checkpointer> m_checkpointer;
    bool m_autoCommit = false;
    bool m_writing = false; // a write transaction was opened and not ended here

    // True when the transaction opened here is gone without a commit or a
    // rollback of ours.
    bool lostTransaction() const;
    int m_lastCode = 0;
    std::string m_lastDetail;
};

} // namespace kdb
