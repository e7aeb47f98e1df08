#include "dialogs/TFolderDialog.h"

#include "platform/FileDialog.h"

#include <QFileInfo>
#include <QWidget>

namespace {

// The folder the browser selects first: Folder without one final "/" (the
// root stays "/"), when it names an existing folder; none otherwise. Letter
// case is kept, for Linux paths are case-sensitive, and so is any length.
QString startFolder(const QString &folder)
{
    QString start = folder;
    if (start.size() >= 2 && start.endsWith(u'/'))
        start.chop(1);
    return !start.isEmpty() && QFileInfo(start).isDir() ? start : QString();
}

// A picked folder comes back without a final "/", except the root.
QString withoutFinalSeparator(QString folder)
{
    while (folder.size() >= 2 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

} // namespace

TFolderDialog::TFolderDialog(QWidget *owner)
    : QObject(owner)
    , m_message(QStringLiteral("フォルダを選択してください"))
{
}

bool TFolderDialog::Execute()
{
    const std::optional<QString> picked =
        platform::getFolder(qobject_cast<QWidget *>(parent()), m_message, startFolder(m_folder));
    if (!picked)
        return false;
    m_folder = withoutFinalSeparator(*picked);
    return true;
}
