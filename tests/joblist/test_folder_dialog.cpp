#include "dialogs/TFolderDialog.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QWidget>
#include <gtest/gtest.h>

TEST(FolderDialog, StartFolderIsTheGivenFolderWhenItExists)
{
    const QString root = QString::fromStdString(testenv::makeTempDir("folders"));
    ASSERT_TRUE(QDir(root).mkpath("Data"));
    struct Case {
        QString folder;
        QString start;
    };
    const Case cases[] = {
        {root + "/Data/", root + "/Data"}, // one final "/" goes
        {root + "/Data", root + "/Data"},
        {"/", "/"},                        // the root keeps its "/"
        {root + "/data", ""},              // letter case counts
        {root + "/missing/", ""},
        {"", ""},
        {root + "/Data/" + QString(300, u'x'), ""}, // too long for the start buffer elsewhere
    };
    QWidget owner;
    TFolderDialog dialog(&owner);
    ScriptedFileDialogs dialogs;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        dialogs.cancel();
        dialog.setFolder(c.folder);
        EXPECT_FALSE(dialog.Execute());
        EXPECT_EQ(dialog.Folder(), c.folder);
        EXPECT_EQ(dialogs.requests().back().startDir, c.start);
        EXPECT_EQ(dialogs.requests().back().owner, &owner);
        EXPECT_EQ(dialogs.requests().back().message, "フォルダを選択してください");
    }
}

TEST(FolderDialog, PickedFolderComesBackWithoutFinalSeparator)
{
    struct Case {
        QString picked;
        QString folder;
    };
    const Case cases[] = {
        {"/srv/new", "/srv/new"},
        {"/srv/new/", "/srv/new"},
        {"/", "/"},
    };
    TFolderDialog dialog(nullptr);
    ScriptedFileDialogs dialogs;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picked.toStdString());
        dialog.setFolder("/missing/start");
        dialogs.answer(c.picked);
        EXPECT_TRUE(dialog.Execute());
        EXPECT_EQ(dialog.Folder(), c.folder);
    }
}
