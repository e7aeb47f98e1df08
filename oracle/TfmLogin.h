#pragma once
// The login dialog: user name, password and connect string. It has no logic
// of its own; TOCIctrl::Login fills it, shows it and reads it back.
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class TfmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfmLogin(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *edUser;
    QLabel *Label2;
    QLineEdit *edPassword;
    QLabel *Label3;
    QLineEdit *edConn;
    QPushButton *pbLogin;  // default button: Enter accepts
    QPushButton *pbCancel; // Esc and the close box reject as well

    // Shows the dialog modally and returns QDialog::Accepted or Rejected.
    // When a test has set execHook, the hook gets the filled dialog instead of
    // a person: it may type into it (or show it and look at its focus) and
    // returns the answer in place of exec().
    int run();
    static std::function<int(TfmLogin &)> execHook;
};
