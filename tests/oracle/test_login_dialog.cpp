// The login dialog as a person meets it.
#include "oracle/TfmLogin.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(LoginDialog, ControlsCaptionsAndTabOrder)
{
    TfmLogin dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Login"));
    EXPECT_EQ(dialog.size(), QSize(190, 173));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    const std::tuple<QLabel *, QString, QWidget *> labels[] = {
        {dialog.Label1, QStringLiteral("UserID(&U)"), dialog.edUser},
        {dialog.Label2, QStringLiteral("Password(&P)"), dialog.edPassword},
        {dialog.Label3, QStringLiteral("ConnectStr(&S)"), dialog.edConn},
    };
    for (const auto &[label, caption, buddy] : labels) {
        EXPECT_EQ(label->text(), caption);
        EXPECT_EQ(label->buddy(), buddy) << caption.toStdString();
    }
    EXPECT_EQ(dialog.pbLogin->text(), QStringLiteral("Login(&L)"));
    EXPECT_EQ(dialog.pbCancel->text(), QStringLiteral("Cancel(&C)"));
    EXPECT_TRUE(dialog.pbLogin->isDefault());
    EXPECT_EQ(dialog.edPassword->echoMode(), QLineEdit::Password);

    const QWidget *order[] = {dialog.edUser, dialog.edPassword, dialog.edConn, dialog.pbLogin, dialog.pbCancel};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(order[i]->nextInFocusChain(), order[i + 1]) << "after " << order[i]->objectName().toStdString();
}

// Enter on a field logs in; Escape cancels.
TEST(LoginDialog, EnterAcceptsAndEscapeCancels)
{
    const std::pair<Qt::Key, int> cases[] = {{Qt::Key_Return, QDialog::Accepted}, {Qt::Key_Escape, QDialog::Rejected}};
    for (const auto &[key, result] : cases) {
        TfmLogin dialog;
        dialog.show();
        dialog.activateWindow();
        dialog.edUser->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.edUser, &press);
        EXPECT_EQ(dialog.result(), result) << key;
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
