#pragma once
// The engine's state for the caller's records, keyed by their addresses:
// nothing is stored in the records beyond their documented fields. One lock
// serialises the calls, so callers on several threads stay safe.
#include "Cursor.h"
#include "Session.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace kdb {

class Registry {
public:
    static Registry &instance();
    // No session and no cursor open.
    bool idle() const;

    std::mutex &lock() { return m_lock; }

    Session *session(const void *lda) const;
    Cursor *cursor(const void *cda) const;

    void addSession(const void *lda, std::unique_ptr<Session> s);
    // Removes the session and every cursor open on it.
    void removeSession(const void *lda);
    Cursor *openCursor(const void *cda, Session *s);
    void closeCursor(const void *cda);

private:
    std::mutex m_lock;
    std::unordered_map<const void *, std::unique_ptr<Session>> m_sessions;
    std::unordered_map<const void *, std::unique_ptr<Cursor>> m_cursors;
    // The last cursor looked up: an import calls obndrn and oexec on one area.
    mutable const void *m_lastArea = nullptr;
    mutable Cursor *m_lastCursor = nullptr;
};

} // namespace kdb
