#include "Checkpointer.h"

#include "Database.h"

#include <algorithm>
#include <system_error>

namespace kdb {

Checkpointer::Checkpointer(sqlite3 *session, std::string file, int walBytes)
    : m_file(std::move(file))
{
    m_walPages = std::max(1, walBytes / std::max(1, db::pageSize(session)));
    // Replaces SQLite's own checkpoint after commit on this connection.
    sqlite3_wal_hook(session, &Checkpointer::afterCommit, this);
}

Checkpointer::~Checkpointer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

int Checkpointer::afterCommit(void *self, sqlite3 *db, const char *name, int walPages)
{
    auto *checkpointer = static_cast<Checkpointer *>(self);
    // Without a thread the commit checkpoints itself, as SQLite would.
    if (walPages >= checkpointer->m_walPages && !checkpointer->request())
        sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
}

bool Checkpointer::request()
{
    {
        std::lock_guard lock(m_mutex);
        m_wanted = true;
    }
    if (m_thread.joinable()) {
        m_wake.notify_one();
        return true;
    }
    try {
        m_thread = std::thread(&Checkpointer::run, this);
        return true;
    } catch (const std::system_error &) {
        return false;
    }
}

void Checkpointer::run()
{
    // A connection of the thread's own: SQLite connections here are opened
    // without their per-call lock, so the session's must stay the session's.
    sqlite3 *db = db::openSchema(m_file);
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_wanted || m_stopping; });
        if (m_stopping)
            break;
        m_wanted = false;
        lock.unlock();
        // Passive: copies what no reader still needs and never waits for a
        // lock, so a session is never held up by it.
        if (db)
            sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        lock.lock();
    }
    lock.unlock();
    db::closeSchema(db);
}

} // namespace kdb
