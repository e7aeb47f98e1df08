#include "platform/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {
namespace {

bool haveGuiApplication()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

} // namespace

WaitCursor::WaitCursor(Qt::CursorShape shape)
    : m_set(haveGuiApplication())
{
    if (m_set)
        QGuiApplication::setOverrideCursor(QCursor(shape));
}

WaitCursor::~WaitCursor()
{
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace platform
