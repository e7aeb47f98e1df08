#pragma once
// Answers the login dialog in place of a person, through TfmLogin's exec hook,
// and keeps what the dialog showed when it came. Installed for its lifetime.
#include "oracle/TfmLogin.h"

#include <QLineEdit>
#include <QString>

class LoginScript {
public:
    LoginScript() { cancel(); }
    ~LoginScript() { TfmLogin::execHook = nullptr; }
    LoginScript(const LoginScript &) = delete;
    LoginScript &operator=(const LoginScript &) = delete;

    // What the dialog was filled with the last time, and where its focus was.
    int calls = 0;
    QString user, password, conn, focus;

    // The next dialogs log in with these values...
    void accept(const QString &newUser, const QString &newPassword, const QString &newConn = {})
    {
        answer(true, newUser, newPassword, newConn);
    }
    // ... or are cancelled.
    void cancel() { answer(false, {}, {}, {}); }

private:
    void answer(bool accepted, const QString &newUser, const QString &newPassword, const QString &newConn)
    {
        TfmLogin::execHook = [=, this](TfmLogin &dialog) {
            ++calls;
            user = dialog.edUser->text();
            password = dialog.edPassword->text();
            conn = dialog.edConn->text();
            focus = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            if (!accepted)
                return int(QDialog::Rejected);
            dialog.edUser->setText(newUser);
            dialog.edPassword->setText(newPassword);
            dialog.edConn->setText(newConn);
            return int(QDialog::Accepted);
        };
    }
};
