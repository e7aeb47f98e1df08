#pragma once
// Message boxes: the one way the program asks or tells a person something.
// The program uses the Qt implementation; tests install a scripted one
// (tests/support/ScriptedMessageBoxes.h) that answers from a queue.
#include <QString>
#include <vector>

class QWidget;

namespace platform {

// The application title, used as every box's caption.
inline constexpr const char *kAppTitle = "Karvello+ Version1.23";

enum class MsgIcon { None, Information, Warning, Question, Error };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows `text` with the application title as caption. The first button of
    // the set is the default; Escape or closing the box answers No (YesNo) or
    // Cancel (OkCancel, YesNoCancel), and Ok for a lone OK button.
    virtual MsgResult show(QWidget *owner, const QString &text, MsgIcon icon,
                           MsgButtons buttons, bool systemModal) = 0;
};

// The answers of a button set's buttons, left to right; the first is the
// default button.
std::vector<MsgResult> buttonAnswers(MsgButtons buttons);
// What Escape or closing the box answers: No for Yes/No, Cancel where there is
// a Cancel button, Ok for a lone OK button.
MsgResult escapeAnswer(MsgButtons buttons);

// Shows a box through the installed service (the Qt one unless a test set
// another).
MsgResult showMessage(QWidget *owner, const QString &text, MsgIcon icon,
                      MsgButtons buttons, bool systemModal = false);

// Installs `service` for every later box; nullptr restores the Qt one. The
// caller keeps ownership.
void setMessageBoxService(MessageBoxService *service);
MessageBoxService &messageBoxService();

} // namespace platform
