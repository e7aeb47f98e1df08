#include "ScriptedFileDialogs.h"

#include <gtest/gtest.h>

ScriptedFileDialogs::ScriptedFileDialogs()
    : m_previous(&platform::fileDialogService())
{
    platform::setFileDialogService(this);
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    platform::setFileDialogService(m_previous);
    for (const Answer &a : m_answers)
        ADD_FAILURE() << "scripted dialog answer never taken: " << (a.cancel ? "cancel" : a.path.toStdString());
}

ScriptedFileDialogs &ScriptedFileDialogs::answer(const QString &path)
{
    m_answers.push_back({false, path});
    return *this;
}

ScriptedFileDialogs &ScriptedFileDialogs::cancel()
{
    m_answers.push_back({true, QString()});
    return *this;
}

ScriptedFileDialogs::Answer ScriptedFileDialogs::takeAnswer(const char *what)
{
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected " << what << ": no scripted answer left";
        return {true, QString()};
    }
    Answer next = m_answers.front();
    m_answers.pop_front();
    return next;
}

std::optional<QString> ScriptedFileDialogs::getFile(QWidget *owner,
                                                    const platform::FileDialogRequest &request)
{
    Request r;
    r.kind = request.kind == platform::FileDialogRequest::Kind::Save ? Request::Kind::Save
                                                                     : Request::Kind::Open;
    r.owner = owner;
    r.request = request;
    for (;;) {
        const Answer next = takeAnswer("file dialog");
        if (next.cancel)
            break;
        const QString path = platform::withDefaultExtension(next.path, request.defaultExt);
        r.offered << path;
        if (!request.canClose || request.canClose(path)) {
            r.result = path;
            break;
        }
    }
    m_requests.push_back(r);
    return r.result;
}

std::optional<QString> ScriptedFileDialogs::getFolder(QWidget *owner, const QString &message,
                                                      const QString &startDir)
{
    Request r;
    r.kind = Request::Kind::Folder;
    r.owner = owner;
    r.message = message;
    r.startDir = startDir;
    if (const Answer next = takeAnswer("folder chooser"); !next.cancel)
        r.result = next.path;
    m_requests.push_back(r);
    return r.result;
}
