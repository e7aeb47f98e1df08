#include "oracle/TfmLogin.h"

#include "platform/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

std::function<int(TfmLogin &)> TfmLogin::execHook;

namespace {

QLineEdit *makeEdit(QWidget *parent, int left, int top)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(left, top, 143, 20);
    return edit;
}

QPushButton *makeButton(QWidget *parent, const QString &caption, int left)
{
    auto *button = new QPushButton(caption, parent);
    button->setGeometry(left, 139, 61, 25);
    return button;
}

} // namespace

TfmLogin::TfmLogin(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Login"));
    setFont(platform::formFont());
    setFixedSize(190, 173);

    // Created in tab order: the edits, then the two buttons.
    edUser = makeEdit(this, 25, 22);
    edPassword = makeEdit(this, 25, 64);
    edPassword->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*", whatever the style's own mask is.
    edPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    edConn = makeEdit(this, 25, 105);
    pbLogin = makeButton(this, QStringLiteral("Login(&L)"), 16);
    pbCancel = makeButton(this, QStringLiteral("Cancel(&C)"), 112);

    Label1 = platform::buddyLabel(this, QStringLiteral("UserID(&U)"), 13, 6, edUser);
    Label2 = platform::buddyLabel(this, QStringLiteral("Password(&P)"), 13, 47, edPassword);
    Label3 = platform::buddyLabel(this, QStringLiteral("ConnectStr(&S)"), 13, 89, edConn);

    const std::pair<QWidget *, const char *> names[] = {
        {Label1, "Label1"}, {edUser, "edUser"},   {Label2, "Label2"},   {edPassword, "edPassword"},
        {Label3, "Label3"}, {edConn, "edConn"},   {pbLogin, "pbLogin"}, {pbCancel, "pbCancel"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
    setTabOrder(edUser, edPassword);
    setTabOrder(edPassword, edConn);
    setTabOrder(edConn, pbLogin);
    setTabOrder(pbLogin, pbCancel);

    pbLogin->setDefault(true);
    connect(pbLogin, &QPushButton::clicked, this, &QDialog::accept);
    connect(pbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfmLogin::run()
{
    if (execHook)
        return execHook(*this);
    return exec();
}
