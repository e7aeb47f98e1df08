#pragma once
// A main window started against the stand-in client library, with its boxes
// and its login dialog answered by the test and its settings in a fresh store.
#include "oracle/FakeOci.h"
#include "app/RegSettings.h"
#include "app/TfmMain.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TfmLogin.h"
#include "platform/UserStore.h"
#include "support/ScriptedMessageBoxes.h"

#include <QFile>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

// The store the main window keeps its settings in.
inline platform::UserStore settingsStore()
{
    return platform::UserStore(QString::fromLatin1(kSettingsKey));
}

class AppFixture : public testing::Test {
protected:
    using MsgIcon = platform::MsgIcon;
    using MsgButtons = platform::MsgButtons;
    using MsgResult = platform::MsgResult;

    void SetUp() override
    {
        fakeoci::reset();
        TOCIctrl::setDefaultLibraryNames({fakeoci::fullLibrary()});
        QFile::remove(settingsStore().filePath());
        cancelLogin();
    }
    void TearDown() override
    {
        TfmLogin::execHook = nullptr;
        TOCIctrl::resetDefaultLibraryNames();
    }

    // What the login dialog showed when it came.
    struct LoginSeen {
        int calls = 0;
        QString user, password, conn, focus;
    } seen;

    // The next login dialogs are answered with these values...
    void acceptLogin(const QString &user, const QString &password, const QString &conn = {})
    {
        answerLogin(true, user, password, conn);
    }
    // ... or cancelled.
    void cancelLogin() { answerLogin(false, {}, {}, {}); }

    std::unique_ptr<TfmMain> start() { return std::make_unique<TfmMain>(); }

    ScriptedMessageBoxes boxes;

private:
    void answerLogin(bool accept, const QString &user, const QString &password, const QString &conn)
    {
        TfmLogin::execHook = [=, this](TfmLogin &dialog) {
            ++seen.calls;
            seen.user = dialog.edUser->text();
            seen.password = dialog.edPassword->text();
            seen.conn = dialog.edConn->text();
            seen.focus = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            if (!accept)
                return int(QDialog::Rejected);
            dialog.edUser->setText(user);
            dialog.edPassword->setText(password);
            dialog.edConn->setText(conn);
            return int(QDialog::Accepted);
        };
    }
};
