// Starting the program: activation, stored settings, the login and the state
// the window opens in; and ending it.
#include "AppFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>

namespace {

using Startup = AppFixture;

QString storedString(const char *name)
{
    QString value;
    settingsStore().readString(QString::fromLatin1(name), &value);
    return value;
}

bool sessionControlsEnabled(const TfmMain &w, bool enabled)
{
    const QColor fieldColour = QApplication::palette().color(enabled ? QPalette::Base : QPalette::Button);
    return w.pbExecute->isEnabled() == enabled && w.pbTable->isEnabled() == enabled
        && w.pbCSV->isEnabled() == enabled && w.pbCount->isEnabled() == enabled
        && w.edTable->isEnabled() == enabled && w.edCSV->isEnabled() == enabled
        && w.edTable->palette().color(QPalette::Base) == fieldColour
        && w.edCSV->palette().color(QPalette::Base) == fieldColour;
}

TEST_F(Startup, WithoutALibraryTheProgramSaysSoAndEndsBeforeTheLogin)
{
    TOCIctrl::setDefaultLibraryNames({fakeoci::missingLibrary()});
    boxes.expect(QStringLiteral("OCIが使用できません。"), MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
    auto window = start();
    EXPECT_TRUE(window->startupAborted());
    EXPECT_EQ(login.calls, 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Karvello+"));
    EXPECT_FALSE(QFile::exists(settingsStore().filePath()));
    for (QWidget *top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible()) << top->metaObject()->className();
}

TEST_F(Startup, CancelledLoginOpensTheNotLoggedInStateWithoutABox)
{
    auto window = start();
    EXPECT_FALSE(window->startupAborted());
    EXPECT_EQ(login.calls, 1);
    EXPECT_EQ(login.user, QString());
    EXPECT_EQ(login.conn, QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Karvello+ "));
    EXPECT_TRUE(sessionControlsEnabled(*window, false));
    for (QWidget *control : {static_cast<QWidget *>(window->pbJobList), static_cast<QWidget *>(window->pbJobAdd),
                             static_cast<QWidget *>(window->pbConnect), static_cast<QWidget *>(window->pbEnd),
                             static_cast<QWidget *>(window->edSep), static_cast<QWidget *>(window->edDelim)})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    // A first start: the defaults of an empty store, and nothing written yet.
    EXPECT_FALSE(window->cbHead->isChecked());
    EXPECT_FALSE(window->cbTime->isChecked());
    EXPECT_FALSE(window->cbTruncate->isChecked());
    EXPECT_FALSE(window->cbAutoCmt->isChecked());
    EXPECT_TRUE(window->cbBreak->isChecked());
    EXPECT_EQ(window->udCmt->value(), 1);
    EXPECT_EQ(window->edSep->text(), QStringLiteral(","));
    EXPECT_EQ(window->edDelim->text(), QStringLiteral("\""));
    EXPECT_FALSE(QFile::exists(settingsStore().filePath()));
}

TEST_F(Startup, AcceptedLoginNamesTheSessionAndStoresItsValuesAtOnce)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("db"), QStringLiteral("Karvello+  [SCOTT @ db]")},
        {QString(), QStringLiteral("Karvello+  [SCOTT @ ]")},
    };
    for (const auto &[conn, caption] : cases) {
        login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"), conn);
        auto window = start();
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_TRUE(sessionControlsEnabled(*window, true));
        EXPECT_EQ(storedString("USER"), QStringLiteral("SCOTT"));
        EXPECT_EQ(storedString("CONN"), conn);
        QFile file(settingsStore().filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("tiger")) << "the password is never stored";
    }
}

TEST_F(Startup, RefusedLoginShowsTheLibraryTextAndStoresNothing)
{
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("wrong"), QStringLiteral("db"));
    boxes.expect(QStringLiteral("-- ORACLE error when processing OCI function\n"
                                "ORA-01017: invalid username/password; logon denied"),
                 MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
    auto window = start();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].systemModal);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Karvello+ "));
    EXPECT_TRUE(sessionControlsEnabled(*window, false));
    EXPECT_FALSE(settingsStore().valueExists(QStringLiteral("USER")));
}

TEST_F(Startup, ClosingStoresTheOptionsAndLogsOffOnlyWhenConnected)
{
    for (bool loggedOn : {false, true}) {
        QFile::remove(settingsStore().filePath());
        if (loggedOn)
            login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"));
        else
            login.cancel();
        auto window = start();
        fakeoci::reset();
        window->cbHead->setChecked(true);
        EXPECT_TRUE(window->close());
        EXPECT_EQ(fakeoci::log(), loggedOn ? "ologof" : "");
        EXPECT_FALSE(window->OCI->connected());
        int32_t head = 0;
        EXPECT_EQ(settingsStore().readInteger(QStringLiteral("HeadOn"), &head), platform::UserStore::ReadStatus::Ok);
        EXPECT_EQ(head, 1);
    }
}

// A run processes events at its cancel checks; a close arriving then must not
// end the session under it.
TEST_F(Startup, NoCloseWhileARunIsBusy)
{
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"));
    auto window = start();
    window->busy = true;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->OCI->connected());
    EXPECT_FALSE(settingsStore().valueExists(QStringLiteral("HeadOn")));
    window->busy = false;
    EXPECT_TRUE(window->close());
}

TEST_F(Startup, DestroyingTheWindowReleasesTheSessionFirst)
{
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"));
    auto window = start();
    fakeoci::reset();
    window.reset();
    EXPECT_EQ(fakeoci::log(), "ologof");
}

} // namespace
