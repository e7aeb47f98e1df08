#include "joblist/ListCommands.h"

#include "joblist/JobList.h"
#include "joblist/ListFile.h"
#include "joblist/ListFileDialogs.h"
#include "platform/MessageBox.h"

namespace {

void warn(QWidget *owner, const QString &text)
{
    platform::showMessage(owner, text, platform::MsgIcon::Warning, platform::MsgButtons::Ok);
}

} // namespace

bool SaveJobList(QWidget *owner, ListFileDialogs &dialogs, const JobList &list, int mode)
{
    // A TAB or line break inside a name would come back as other jobs, or
    // none; refusing the save keeps the person's list out of a file that
    // would not give it back.
    const int unwritable = firstUnwritableJob(list.jobs());
    if (unwritable >= 0) {
        warn(owner, QStringLiteral("%1番目のジョブはリストファイルに保存できません。\n"
                                   "TABLEが空か、TABLEかCSVにタブ・改行を含むか、長すぎます。")
                        .arg(unwritable + 1));
        return false;
    }
    const std::optional<QString> path = dialogs.executeSave(owner);
    if (!path)
        return false;
    if (!saveListFile(*path, mode, list.jobs())) {
        warn(owner, QStringLiteral("ファイルを書き込めません。"));
        return false;
    }
    return true;
}

bool LoadJobList(QWidget *owner, ListFileDialogs &dialogs, JobList &list,
                 const std::function<void(int mode)> &setMode)
{
    const std::optional<QString> path = dialogs.executeOpen(owner);
    if (!path)
        return false;
    std::optional<ListFileContents> contents = readListFile(*path);
    if (!contents) {
        warn(owner, QStringLiteral("ファイルを読み取れません。"));
        return false;
    }
    list.replaceAll(std::move(contents->jobs));
    if (contents->mode && setMode)
        setMode(*contents->mode);
    return true;
}
