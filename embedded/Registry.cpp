#include "Registry.h"

namespace kdb {

namespace {
// Made when the library loads, before any caller's thread can race for it.
Registry *g_registry = nullptr;

__attribute__((constructor)) void createRegistry()
{
    if (!g_registry)
        g_registry = new Registry;
}

// A host that unloads the library after logging off would otherwise lose the
// registry on every load. One that still holds sessions may call in again
// during its exit, so a registry in use stays.
__attribute__((destructor)) void releaseIdleRegistry()
{
    if (g_registry && g_registry->idle()) {
        delete g_registry;
        g_registry = nullptr;
    }
}
} // namespace

Registry &Registry::instance()
{
    if (!g_registry) // only a call during exit, after the release above
        g_registry = new Registry;
    return *g_registry;
}

bool Registry::idle() const
{
    return m_sessions.empty() && m_cursors.empty();
}

Session *Registry::session(const void *lda) const
{
    auto it = m_sessions.find(lda);
    return it == m_sessions.end() ? nullptr : it->second.get();
}

Cursor *Registry::cursor(const void *cda) const
{
    if (cda == m_lastArea && m_lastArea)
        return m_lastCursor;
    auto it = m_cursors.find(cda);
    if (it == m_cursors.end())
        return nullptr;
    m_lastArea = cda;
    m_lastCursor = it->second.get();
    return m_lastCursor;
}

void Registry::addSession(const void *lda, std::unique_ptr<Session> s)
{
    m_sessions[lda] = std::move(s);
}

void Registry::removeSession(const void *lda)
{
    auto it = m_sessions.find(lda);
    if (it == m_sessions.end())
        return;
    m_lastArea = nullptr;
    for (auto c = m_cursors.begin(); c != m_cursors.end();) {
        if (c->second->session() == it->second.get())
            c = m_cursors.erase(c);
        else
            ++c;
    }
    m_sessions.erase(it);
}

Cursor *Registry::openCursor(const void *cda, Session *s)
{
    m_lastArea = nullptr;
    auto &slot = m_cursors[cda];
    slot = std::make_unique<Cursor>(s);
    return slot.get();
}

void Registry::closeCursor(const void *cda)
{
    m_lastArea = nullptr;
    m_cursors.erase(cda);
}

} // namespace kdb
