#include "platform/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

Qt::CursorShape currentOverride()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

} // namespace

TEST(WaitCursor, NestedGuardsRestoreOnEveryPath)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    try {
        platform::WaitCursor outer;
        EXPECT_EQ(currentOverride(), Qt::WaitCursor);
        {
            platform::WaitCursor inner(Qt::BusyCursor);
            EXPECT_EQ(currentOverride(), Qt::BusyCursor);
        }
        EXPECT_EQ(currentOverride(), Qt::WaitCursor);
        throw std::runtime_error("database call failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
