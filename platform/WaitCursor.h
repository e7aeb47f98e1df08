#pragma once
// Shows the busy pointer for the life of the guard, and restores the previous
// one on every path out of the scope.
#include <Qt>

namespace platform {

class WaitCursor {
public:
    explicit WaitCursor(Qt::CursorShape shape = Qt::WaitCursor);
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_set; // false without a GUI application: nothing to restore
};

} // namespace platform
