#include "app/TfmMain.h"

#include <gtest/gtest.h>

TEST(MainWindow, OpensWithItsTitleAndMinimumSize)
{
    TfmMain window;
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Karvello+"));
    EXPECT_EQ(window.minimumSize(), QSize(654, 182));
    window.close();
}
