#include "joblist/ListFileDialogs.h"

#include "app/RegSettings.h"
#include "platform/Paths.h"
#include "platform/UserStore.h"

namespace {

platform::FileDialogRequest listFileRequest(platform::FileDialogRequest::Kind kind)
{
    platform::FileDialogRequest request;
    request.kind = kind;
    request.fileName = QStringLiteral("*.lst");
    request.filter = QStringLiteral("ﾘｽﾄﾌｧｲﾙ(*.LST)|*.LST|すべてのﾌｧｲﾙ(*.*)|*.*");
    request.defaultExt = QStringLiteral(".lst");
    request.overwritePrompt = kind == platform::FileDialogRequest::Kind::Save;
    return request;
}

std::optional<QString> execute(QWidget *owner, platform::FileDialogRequest &request)
{
    std::optional<QString> path = platform::getFile(owner, request);
    if (path)
        request.fileName = platform::fileNamePart(*path);
    return path;
}

} // namespace

ListFileDialogs::ListFileDialogs()
    : dlgOpen(listFileRequest(platform::FileDialogRequest::Kind::Open))
    , dlgSave(listFileRequest(platform::FileDialogRequest::Kind::Save))
{
    const auto remember = [this](const QString &path) { return rememberFolderOf(path); };
    dlgOpen.canClose = remember;
    dlgSave.canClose = remember;
}

void ListFileDialogs::setFolder(const QString &folder)
{
    dlgSave.initialDir = folder;
    dlgOpen.initialDir = folder;
}

void ListFileDialogs::ReadListFolder()
{
    QString folder;
    if (platform::UserStore(QString::fromLatin1(kSettingsKey))
            .readString(QString::fromLatin1(kFolderValue), &folder)
        != platform::UserStore::ReadStatus::Ok)
        folder.clear();
    setFolder(folder);
}

void ListFileDialogs::WriteListFolder() const
{
    platform::UserStore(QString::fromLatin1(kSettingsKey))
        .writeString(QString::fromLatin1(kFolderValue), dlgSave.initialDir);
}

bool ListFileDialogs::rememberFolderOf(const QString &path)
{
    setFolder(platform::folderPart(path));
    WriteListFolder();
    return true;
}

std::optional<QString> ListFileDialogs::executeOpen(QWidget *owner)
{
    return execute(owner, dlgOpen);
}

std::optional<QString> ListFileDialogs::executeSave(QWidget *owner)
{
    return execute(owner, dlgSave);
}
