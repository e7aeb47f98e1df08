#pragma once
// A scripted stand-in for the file dialogs and the folder chooser. Answers
// come from one queue, in order, whichever dialog asks:
//
//   ScriptedFileDialogs dialogs;             // installed for this scope
//   dialogs.answer(dir + "/data");           // the person types "data"
//   dialogs.cancel();                        // ... and cancels the next dialog
//   window.pbCSV->click();
//   ASSERT_EQ(dialogs.requests().size(), 1u);
//   EXPECT_EQ(dialogs.requests()[0].request.filter, "CSVﾌｧｲﾙ(*.csv)|*.csv|...");
//
// Like the real dialog, a file answer gets the request's default extension
// when it has none, and is offered to `canClose`; a refusal keeps the
// "dialog" open, so the next queued answer is taken as the person's next try.
// A dialog with no answer left fails the test and is cancelled; answers never
// taken fail the test when the object goes.
#include "platform/FileDialog.h"

#include <QPointer>
#include <QWidget>
#include <deque>
#include <optional>
#include <vector>

class ScriptedFileDialogs final : public platform::FileDialogService {
public:
    struct Request {
        enum class Kind { Open, Save, Folder };
        Kind kind = Kind::Open;
        QPointer<QWidget> owner;
        platform::FileDialogRequest request; // file dialogs
        QString message;                     // folder chooser
        QString startDir;                    // folder chooser
        QStringList offered;                 // paths handed to canClose, in order
        std::optional<QString> result;       // what the dialog returned
    };

    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;
    ScriptedFileDialogs(const ScriptedFileDialogs &) = delete;
    ScriptedFileDialogs &operator=(const ScriptedFileDialogs &) = delete;

    // Queues a chosen path (a file, or a folder for the folder chooser).
    ScriptedFileDialogs &answer(const QString &path);
    // Queues a cancel.
    ScriptedFileDialogs &cancel();

    const std::vector<Request> &requests() const { return m_requests; }

    std::optional<QString> getFile(QWidget *owner, const platform::FileDialogRequest &request) override;
    std::optional<QString> getFolder(QWidget *owner, const QString &message,
                                     const QString &startDir) override;

private:
    struct Answer {
        bool cancel = false;
        QString path;
    };
    // The next queued answer; a cancel (after failing the test) when none is left.
    Answer takeAnswer(const char *what);

    platform::FileDialogService *m_previous;
    std::deque<Answer> m_answers;
    std::vector<Request> m_requests;
};
