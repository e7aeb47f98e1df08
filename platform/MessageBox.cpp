#include "platform/MessageBox.h"

#include "platform/ServiceSlot.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace platform {
namespace {

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(MsgResult result)
{
    switch (result) {
    case MsgResult::Ok: return QMessageBox::Ok;
    case MsgResult::Cancel: return QMessageBox::Cancel;
    case MsgResult::Yes: return QMessageBox::Yes;
    case MsgResult::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

class QtMessageBoxService final : public MessageBoxService {
public:
    MsgResult show(QWidget *owner, const QString &text, MsgIcon icon, MsgButtons buttons,
                   bool systemModal) override
    {
        // Without a widget application there is nobody to ask; answer as a
        // person closing the box would rather than aborting inside Qt.
        if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
            std::fprintf(stderr, "%s: %s\n", kAppTitle, text.toLocal8Bit().constData());
            return escapeAnswer(buttons);
        }

        QMessageBox box(owner);
        box.setWindowTitle(QString::fromUtf8(kAppTitle));
        // Database messages may hold "<" and must never be taken for markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        box.setIcon(qtIcon(icon));

        const std::vector<MsgResult> answers = buttonAnswers(buttons);
        for (MsgResult answer : answers)
            box.addButton(qtButton(answer));
        box.setDefaultButton(qtButton(answers.front()));
        box.setEscapeButton(box.button(qtButton(escapeAnswer(buttons))));

        if (systemModal) {
            box.setWindowModality(Qt::ApplicationModal);
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        }

        // A box asked in the middle of a long run must not wear its busy
        // pointer: the person is expected to click.
        const bool busyPointer = QGuiApplication::overrideCursor() != nullptr;
        if (busyPointer)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        box.exec();
        if (busyPointer)
            QGuiApplication::restoreOverrideCursor();
        QAbstractButton *clicked = box.clickedButton();
        for (MsgResult answer : answers) {
            if (clicked && clicked == box.button(qtButton(answer)))
                return answer;
        }
        return escapeAnswer(buttons);
    }
};

using Slot = ServiceSlot<MessageBoxService, QtMessageBoxService>;

} // namespace

std::vector<MsgResult> buttonAnswers(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return {MsgResult::Ok};
    case MsgButtons::OkCancel: return {MsgResult::Ok, MsgResult::Cancel};
    case MsgButtons::YesNo: return {MsgResult::Yes, MsgResult::No};
    case MsgButtons::YesNoCancel: return {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
    }
    return {MsgResult::Ok};
}

MsgResult escapeAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: return MsgResult::Cancel;
    }
    return MsgResult::Cancel;
}

MsgResult showMessage(QWidget *owner, const QString &text, MsgIcon icon, MsgButtons buttons,
                      bool systemModal)
{
    return messageBoxService().show(owner, text, icon, buttons, systemModal);
}

void setMessageBoxService(MessageBoxService *service)
{
    Slot::install(service);
}

MessageBoxService &messageBoxService()
{
    return Slot::current();
}

} // namespace platform
