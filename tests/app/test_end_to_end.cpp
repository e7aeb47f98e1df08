// Starting the program against the embedded engine, as a newcomer does: log
// on to the demo schema, close, start again.
#include "AppFixture.h"
#include "support/DemoSchema.h"

#include <QCheckBox>

namespace {

class EndToEnd : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // The program's own default: an installed client first, then the
        // engine in the program's folder.
        TOCIctrl::resetDefaultLibraryNames();
        ASSERT_EQ(testenv::demoSchema(), 0) << "karvello-db demo";
    }
};

TEST_F(EndToEnd, DemoLogonNamesTheSessionAndASecondStartRemembersIt)
{
    login.accept(QStringLiteral("demo"), QStringLiteral("demo"));
    {
        auto window = start();
        ASSERT_TRUE(window->OCI->connected());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Karvello+  [demo @ ]"));
        window->cbHead->setChecked(true);
        window->cbBreak->setChecked(false);
        window->close();
        EXPECT_FALSE(window->OCI->connected());
    }
    login.cancel();
    auto window = start();
    EXPECT_EQ(login.user, QStringLiteral("demo"));
    EXPECT_EQ(login.focus, QStringLiteral("edPassword"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Karvello+ "));
    EXPECT_TRUE(window->cbHead->isChecked());
    EXPECT_FALSE(window->cbBreak->isChecked());
}

TEST_F(EndToEnd, WrongPasswordShowsTheEngineText)
{
    login.accept(QStringLiteral("DEMO"), QStringLiteral("nope"));
    boxes.expectContaining(QStringLiteral("ORA-01017"), MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
    auto window = start();
    EXPECT_FALSE(window->OCI->connected());
    EXPECT_TRUE(window->OCI->LastError.startsWith(QStringLiteral("-- ORACLE error when processing OCI function\n")));
}

} // namespace
