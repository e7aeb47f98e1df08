#include "app/RegSettings.h"
#include "joblist/JobList.h"
#include "joblist/ListCommands.h"
#include "joblist/ListFileDialogs.h"
#include "joblist/TfmJob.h"
#include "platform/UserStore.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

platform::UserStore store()
{
    return platform::UserStore(QString::fromLatin1(kSettingsKey));
}

QString storedFolder()
{
    QString folder;
    store().readString(QStringLiteral("ListFolder"), &folder);
    return folder;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ListCommands : public ::testing::Test {
protected:
    QString dir = QString::fromStdString(testenv::makeTempDir("lists"));
    QWidget owner;
    ListFileDialogs dialogs;
    JobList list;
    std::vector<int> modes; // what loading handed to the main window
    std::function<void(int)> setMode = [this](int mode) { modes.push_back(mode); };
    ScriptedFileDialogs files;
    ScriptedMessageBoxes boxes;

    void SetUp() override
    {
        list.AddJob("OLD", "/old.csv");
    }
};

} // namespace

TEST_F(ListCommands, DialogsAskForListFiles)
{
    files.answer(dir + "/jobs").answer(dir + "/jobs.lst");
    ASSERT_TRUE(SaveJobList(&owner, dialogs, list, 0));
    ASSERT_TRUE(LoadJobList(&owner, dialogs, list, setMode));

    ASSERT_EQ(files.requests().size(), 2u);
    const auto &save = files.requests()[0];
    const auto &load = files.requests()[1];
    EXPECT_EQ(save.kind, ScriptedFileDialogs::Request::Kind::Save);
    EXPECT_EQ(load.kind, ScriptedFileDialogs::Request::Kind::Open);
    for (const auto *r : {&save, &load}) {
        EXPECT_EQ(r->owner, &owner);
        EXPECT_EQ(r->request.filter, QString::fromUtf8("ﾘｽﾄﾌｧｲﾙ(*.LST)|*.LST|すべてのﾌｧｲﾙ(*.*)|*.*"));
        EXPECT_EQ(r->request.defaultExt, ".lst");
        EXPECT_EQ(r->request.fileName, "*.lst");
    }
    EXPECT_TRUE(save.request.overwritePrompt);
    EXPECT_FALSE(load.request.overwritePrompt);
    EXPECT_EQ(save.result, dir + "/jobs.lst");
    // Each dialog proposes its last choice next time.
    EXPECT_EQ(dialogs.dlgSave.fileName, "jobs.lst");
    EXPECT_EQ(dialogs.dlgOpen.fileName, "jobs.lst");
}

TEST_F(ListCommands, LoadReplacesTheJobsAndSetsTheMode)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        std::vector<int> modes;
        int jobs;
    };
    const Case cases[] = {
        {"export list", "1\r\nEMP\t/e.csv\r\nDEPT\t/d.csv\r\n", {1}, 2},
        {"empty file", "", {}, 0},
        {"mode line only", "0", {0}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        list.replaceAll({});
        list.AddJob("OLD", "/old.csv");
        modes.clear();
        const QString path = dir + "/load.lst";
        writeFile(path, c.bytes);
        files.answer(path);
        EXPECT_TRUE(LoadJobList(&owner, dialogs, list, setMode));
        EXPECT_EQ(modes, c.modes);
        EXPECT_EQ(list.count(), c.jobs);
    }
}

TEST_F(ListCommands, FailedLoadKeepsListAndModeButRemembersTheFolder)
{
    boxes.expect("ファイルを読み取れません。", MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
    files.answer(dir + "/sub/missing.lst").cancel();
    EXPECT_FALSE(LoadJobList(&owner, dialogs, list, setMode));
    EXPECT_FALSE(LoadJobList(&owner, dialogs, list, setMode));

    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.job(0).table, "OLD");
    EXPECT_TRUE(modes.empty());
    EXPECT_EQ(boxes.shown().at(0).owner, &owner);
    EXPECT_EQ(storedFolder(), dir + "/sub/");
    EXPECT_EQ(dialogs.dlgOpen.initialDir, dir + "/sub/");
    EXPECT_EQ(dialogs.dlgSave.initialDir, dir + "/sub/");
}

TEST_F(ListCommands, FailedSaveWarnsAndRemembersTheFolder)
{
    boxes.expect("ファイルを書き込めません。", MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
    files.answer(dir + "/nofolder/x.lst");
    EXPECT_FALSE(SaveJobList(&owner, dialogs, list, 0));
    EXPECT_EQ(storedFolder(), dir + "/nofolder/");
}

TEST_F(ListCommands, JobsTheFileCannotHoldAreRefusedBeforeTheDialog)
{
    list.AddJob("BAD", "/a\tb.csv");
    boxes.expect("2番目のジョブはリストファイルに保存できません。\n"
                 "TABLEが空か、TABLEかCSVにタブ・改行を含むか、長すぎます。",
                 MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
    EXPECT_FALSE(SaveJobList(&owner, dialogs, list, 0));
    EXPECT_TRUE(files.requests().empty());
}

TEST_F(ListCommands, StoredFolderStartsBothDialogs)
{
    struct Case {
        const char *name;
        std::function<void()> store;
        QString folder;
    };
    const Case cases[] = {
        {"stored folder", [] { store().writeString("ListFolder", "/lists/"); }, "/lists/"},
        {"not a string", [] { store().writeInteger("ListFolder", 7); }, ""},
        {"back to a folder", [] { store().writeString("ListFolder", "/again/"); }, "/again/"},
    };
    dialogs.dlgOpen.initialDir = dialogs.dlgSave.initialDir = "/before/";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.store();
        dialogs.ReadListFolder();
        EXPECT_EQ(dialogs.dlgOpen.initialDir, c.folder);
        EXPECT_EQ(dialogs.dlgSave.initialDir, c.folder);
    }
}

TEST(JobWindow, ShowingReadsTheFolderAndLoadFillsItsList)
{
    const QString dir = QString::fromStdString(testenv::makeTempDir("window"));
    writeFile(dir + "/w.lst", "1\r\nEMP\t/e.csv\r\n");
    store().writeString("ListFolder", dir + "/");
    TfmJob window;
    window.show();
    EXPECT_EQ(window.listDialogs.dlgOpen.initialDir, dir + "/");

    ScriptedFileDialogs files;
    files.answer(dir + "/w.lst");
    window.pbLoadClick();
    ASSERT_EQ(window.jobList->count(), 1);
    EXPECT_EQ(window.jobList->job(0).table, "EMP");
    EXPECT_EQ(files.requests().at(0).owner, &window);
}
