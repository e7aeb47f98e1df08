#pragma once
// Copies a session's committed WAL pages back into its schema file on a
// thread of its own, so that the commit that ends a large load returns as
// soon as its pages are safely in the WAL, instead of waiting for them to be
// written a second time.
#include <condition_variable>
#include <mutex>
#include <sqlite3.h>
#include <string>
#include <thread>

namespace kdb {

class Checkpointer {
public:
    // Takes over checkpointing for `session`, a connection to `file`: after a
    // commit leaves the WAL past about `walBytes`, the thread checkpoints on
    // a connection of its own. The thread starts with the first request.
    Checkpointer(sqlite3 *session, std::string file, int walBytes);
    // Waits for a checkpoint under way; requests not yet started are dropped
    // (the session's own close checkpoints what is left).
    ~Checkpointer();
    Checkpointer(const Checkpointer &) = delete;
    Checkpointer &operator=(const Checkpointer &) = delete;

private:
    static int afterCommit(void *self, sqlite3 *db, const char *name, int walPages);
    // Wakes the thread, starting it the first time; false when no thread
    // can be started.
    bool request();
    void run();

    const std::string m_file;
    int m_walPages = 1;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_wanted = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace kdb
