// The job list window: its selection and the rows' marks, moving, deleting,
// the error files, another file or folder, and what it does to the main
// window.
#include "JobPrinting.h"
#include "app/Globals.h"
#include "joblist/ErrorFiles.h"
#include "joblist/JobList.h"
#include "joblist/JobListView.h"
#include "joblist/JobSelection.h"
#include "joblist/TfmJob.h"
#include "platform/Paths.h"
#include "tests/app/AppFixture.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedShell.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Rows A to E, each with its own CSV file in `folder`.
void fillAtoE(JobList &list, const std::string &folder = "/d/")
{
    list.replaceAll({});
    for (const char *table : {"A", "B", "C", "D", "E"})
        list.AddJob(table, folder + char(table[0] - 'A' + 'a') + ".csv");
}

std::string tables(const JobList &list)
{
    std::string out;
    for (const Job &job : list.jobs())
        out += job.table;
    return out;
}

std::string selectedTables(const JobList &list)
{
    std::string out;
    for (const Job &job : list.jobs())
        out += job.selected ? job.table : "";
    return out;
}

// Selects the rows of the listed tables in the view, as clicks would.
void selectInView(TfmJob &window, const std::string &tableLetters)
{
    QItemSelectionModel *selection = window.lvJob->selectionModel();
    selection->clearSelection();
    for (int row = 0; row < window.jobList->count(); ++row) {
        if (tableLetters.find(window.jobList->job(row).table) != std::string::npos)
            selection->select(window.jobList->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void pressKey(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString &text = {})
{
    target->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
}

void doubleClickRow(TfmJob &window, int row)
{
    QWidget *viewport = window.lvJob->viewport();
    const QPoint at = window.lvJob->visualRect(window.jobList->index(row, 0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

class JobListWindow : public testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        QApplication::setActiveWindow(&window);
        fillAtoE(*window.jobList);
    }

    TfmJob window;
};

} // namespace

TEST(JobSelection, BlockMovesByOnePlaceAndStaysSelected)
{
    struct Case {
        const char *selected;
        MoveDirection direction;
        const char *order; // after the move
    };
    const Case cases[] = {
        {"CD", MoveDirection::Up, "ACDBE"},
        {"CD", MoveDirection::Down, "ABECD"},
        {"B", MoveDirection::Up, "BACDE"},
        {"ABCD", MoveDirection::Down, "EABCD"},
        // Nothing to pass, or no block: nothing moves.
        {"A", MoveDirection::Up, "ABCDE"},
        {"E", MoveDirection::Down, "ABCDE"},
        {"BD", MoveDirection::Up, "ABCDE"},
        {"", MoveDirection::Down, "ABCDE"},
    };
    JobList list;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.selected) + (c.direction == MoveDirection::Up ? " up" : " down"));
        fillAtoE(list);
        for (int row = 0; row < list.count(); ++row)
            list.setSelected(row, std::string(c.selected).find(list.job(row).table) != std::string::npos);
        moveSelectedBlock(list, c.direction);
        EXPECT_EQ(tables(list), c.order);
        EXPECT_EQ(selectedTables(list).size(), std::string(c.selected).size());
        for (char table : std::string(c.selected))
            EXPECT_NE(selectedTables(list).find(table), std::string::npos) << table;
    }
}

TEST(JobSelection, NewFolderKeepsEachFileName)
{
    struct Case {
        const char *folder;
        const char *first, *second;
    };
    const Case cases[] = {
        {"/new", "/new/x.csv", "/new/y.csv"},
        {"/new/", "/new/x.csv", "/new/y.csv"},
        {"/", "/x.csv", "/y.csv"},
    };
    JobList list;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder);
        list.replaceAll({makeJob("X", "/a/x.csv"), makeJob("Y", "/b/deep/y.csv"), makeJob("Z", "z.csv")});
        list.setSelected(0, true);
        list.setSelected(1, true);
        moveSelectedToFolder(list, c.folder);
        EXPECT_EQ(list.job(0).csv, c.first);
        EXPECT_EQ(list.job(1).csv, c.second);
        EXPECT_EQ(list.job(2).csv, "z.csv") << "unselected rows keep their file";
    }
}

TEST(ErrorFiles, PathsBesideTheCsvFile)
{
    const QString program = platform::programFolder();
    const std::pair<QString, QStringList> cases[] = {
        {"/data/emp.csv", {"/data/emp.err", "/data/emp.erm"}},
        {"/data/emp", {"/data/emp.err", "/data/emp.erm"}},
        {"/data.v2/emp", {"/data.v2/emp.err", "/data.v2/emp.erm"}},
        {"emp.csv", {program + "emp.err", program + "emp.erm"}},
        {"", {}},
    };
    for (const auto &[csv, paths] : cases)
        EXPECT_EQ(errorFilePaths(csv), paths) << csv.toStdString();
}

TEST_F(JobListWindow, MoveButtonsFollowTheSelection)
{
    struct Case {
        const char *selected;
        bool up, down;
    };
    const Case cases[] = {
        {"A", false, true}, {"E", true, false}, {"CD", true, true},
        {"BD", false, false}, {"ABCDE", false, false}, {"", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.selected);
        selectInView(window, c.selected);
        EXPECT_EQ(selectedTables(*window.jobList), c.selected) << "the marks follow the view";
        EXPECT_EQ(window.pbUp->isEnabled(), c.up);
        EXPECT_EQ(window.pbDown->isEnabled(), c.down);
    }
    window.jobList->replaceAll({});
    EXPECT_FALSE(window.pbUp->isEnabled());
    EXPECT_FALSE(window.pbDown->isEnabled());
}

TEST_F(JobListWindow, ButtonsAndAltArrowsMoveTheBlock)
{
    selectInView(window, "CD");
    window.pbUp->click();
    EXPECT_EQ(tables(*window.jobList), "ACDBE");
    EXPECT_TRUE(window.lvJob->selectionModel()->isRowSelected(1, {}));
    EXPECT_TRUE(window.lvJob->selectionModel()->isRowSelected(2, {}));
    EXPECT_FALSE(window.lvJob->selectionModel()->isRowSelected(3, {})) << "the row passed is not selected";

    pressKey(window.lvJob, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(tables(*window.jobList), "CDABE");
    EXPECT_FALSE(window.pbUp->isEnabled()) << "recomputed after the move";
    EXPECT_TRUE(window.pbDown->isEnabled());
    pressKey(window.lvJob, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(tables(*window.jobList), "CDABE") << "at the top Alt+Up does nothing";
    EXPECT_EQ(selectedTables(*window.jobList), "CD");

    pressKey(window.lvJob, Qt::Key_Down, Qt::AltModifier);
    window.pbDown->click();
    EXPECT_EQ(tables(*window.jobList), "ABCDE");
    EXPECT_EQ(selectedTables(*window.jobList), "CD");
}

TEST_F(JobListWindow, CtrlASelectsEveryJobAndDeleteRemovesTheSelected)
{
    selectInView(window, "B");
    window.lvJobClick();
    ASSERT_TRUE(window.pbDel->isEnabled());
    window.pbDel->click();
    EXPECT_EQ(tables(*window.jobList), "ACDE");
    EXPECT_FALSE(window.pbDel->isEnabled()) << "nothing is selected any more";

    pressKey(window.lvJob, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    EXPECT_EQ(selectedTables(*window.jobList), "ACDE");
    EXPECT_EQ(window.lvJob->selectionModel()->selectedRows().size(), 4);
    // A selection by keyboard alone leaves Delete as the last click set it.
    EXPECT_FALSE(window.pbDel->isEnabled());
    window.lvJobClick();
    window.pbDel->click();
    EXPECT_EQ(window.jobList->count(), 0);
}

TEST_F(JobListWindow, DoubleClickOpensTheErrorFilesThatExist)
{
    const QString dir = QString::fromStdString(testenv::makeTempDir("errors"));
    struct Case {
        const char *name;
        QString csv;
        QStringList files; // made before the double-click
    };
    const Case cases[] = {
        {"both", dir + "/emp.csv", {dir + "/emp.err", dir + "/emp.erm"}},
        {"no extension", dir + "/dept", {dir + "/dept.err", dir + "/dept.erm"}},
        {"messages only", dir + "/sal.csv", {dir + "/sal.erm"}},
        {"none", dir + "/clean.csv", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString &path : c.files) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        window.jobList->replaceAll({makeJob("T", c.csv.toStdString()), makeJob("U", "/elsewhere/u.csv")});
        ScriptedShell shell;
        doubleClickRow(window, 0);
        EXPECT_EQ(shell.opened(), c.files);
    }
}

TEST_F(JobListWindow, FileEntryChangesOneJobsFileAndFolderEntrySeveralFolders)
{
    ScriptedFileDialogs dialogs;
    window.jobList->replaceAll({makeJob("X", "/a/x.csv"), makeJob("Y", "/b/y.csv")});
    window.pnPopup();
    EXPECT_EQ(window.mnFile->text(), QStringLiteral("ファイル(&F)")) << "nothing selected keeps the caption";

    selectInView(window, "Y");
    window.pnPopup();
    EXPECT_EQ(window.mnFile->text(), QStringLiteral("ファイル(&F)"));
    dialogs.answer("/c/new.csv").cancel();
    window.mnFile->trigger();
    window.mnFile->trigger();
    ASSERT_EQ(dialogs.requests().size(), 2u);
    const platform::FileDialogRequest &file = dialogs.requests()[0].request;
    EXPECT_EQ(file.initialDir, "/b/");
    EXPECT_EQ(file.fileName, "y.csv");
    EXPECT_EQ(file.defaultExt, ".csv");
    EXPECT_EQ(file.filter, QStringLiteral("CSVﾌｧｲﾙ(*.csv)|*.csv|全てのﾌｧｲﾙ(*.*)|*.*"));
    EXPECT_EQ(window.jobList->job(1).csv, "/c/new.csv") << "a cancel changes nothing";

    selectInView(window, "XY");
    window.pnPopup();
    EXPECT_EQ(window.mnFile->text(), QStringLiteral("フォルダ(&F)"));
    selectInView(window, "");
    window.pnPopup();
    EXPECT_EQ(window.mnFile->text(), QStringLiteral("フォルダ(&F)")) << "the caption of the last opening stays";

    selectInView(window, "XY");
    dialogs.answer("/e");
    window.mnFile->trigger();
    ASSERT_EQ(dialogs.requests().size(), 3u);
    EXPECT_EQ(dialogs.requests()[2].kind, ScriptedFileDialogs::Request::Kind::Folder);
    EXPECT_EQ(dialogs.requests()[2].message, QStringLiteral("フォルダを選択してください"));
    EXPECT_EQ(window.jobList->job(0).csv, "/e/x.csv");
    EXPECT_EQ(window.jobList->job(1).csv, "/e/new.csv");
}

// --- With the main window -------------------------------------------------------------

namespace {

class JobListWithMain : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"));
        main = start();
        jobs = std::make_unique<TfmJob>();
        fmMain = main.get();
        fmJob = jobs.get();
    }
    void TearDown() override
    {
        fmJob = nullptr;
        fmMain = nullptr;
        jobs.reset();
        main.reset();
        AppFixture::TearDown();
    }

    std::unique_ptr<TfmMain> main;
    std::unique_ptr<TfmJob> jobs;
};

} // namespace

TEST_F(JobListWithMain, JobAddRefusesEmptyFieldsAndASecondJobForATable)
{
    struct Case {
        const char *table, *csv;
        const char *message; // nullptr: added without a word
    };
    const Case cases[] = {
        {"", "/e.csv", "テーブル名を入力してください。"},
        {"EMP", "", "CSVファイル名を入力してください。"},
        {"EMP", "/e.csv", nullptr},
        {"emp", "/other.csv", "このテーブルは既に登録されています。"},
        {"DEPT", "/d.csv", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.csv);
        if (c.message)
            boxes.expect(QString::fromUtf8(c.message), MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
        main->edTable->setText(QString::fromUtf8(c.table));
        main->edCSV->setText(QString::fromUtf8(c.csv));
        main->pbJobAdd->click();
        EXPECT_EQ(boxes.pending(), 0u);
    }
    EXPECT_EQ(tables(*jobs->jobList), "EMPDEPT");
    EXPECT_EQ(jobs->jobList->job(0).csv, "/e.csv");
    for (const auto &box : boxes.shown())
        EXPECT_EQ(box.owner, main.get());
    EXPECT_FALSE(jobs->isVisible()) << "adding does not open the list";
    main->pbJobList->click();
    EXPECT_TRUE(jobs->isVisible());
}

TEST_F(JobListWithMain, DeleteAndExecuteFollowTheSelectionAndTheSession)
{
    struct Case {
        bool connected;
        const char *selected;
        bool del, exec;
    };
    const Case cases[] = {
        {true, "B", true, true},
        {true, "", false, false},
        {false, "B", true, false},
    };
    fillAtoE(*jobs->jobList);
    jobs->show();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.selected) + (c.connected ? " connected" : " not connected"));
        if (!c.connected)
            main->OCI->DisConnect();
        selectInView(*jobs, c.selected);
        jobs->lvJobClick();
        EXPECT_EQ(jobs->pbDel->isEnabled(), c.del);
        EXPECT_EQ(jobs->pbExec->isEnabled(), c.exec);
    }
}

TEST_F(JobListWithMain, SetFillsTheMainWindowsFieldsButNotWhileBusy)
{
    jobs->jobList->replaceAll({makeJob("EMP", "/data/emp.csv"), makeJob("DEPT", "/data/dept.csv")});
    selectInView(*jobs, "DEPT");

    main->busy = true;
    jobs->mnSet->trigger();
    EXPECT_EQ(main->edTable->text(), QString());
    EXPECT_EQ(main->edCSV->text(), QString());

    main->busy = false;
    jobs->mnSet->trigger();
    EXPECT_EQ(main->edTable->text(), QStringLiteral("DEPT"));
    EXPECT_EQ(main->edCSV->text(), QStringLiteral("/data/dept.csv"));
}

TEST_F(JobListWithMain, EscapeInTheListWindowIsTheMainWindowsCancelRequest)
{
    jobs->show();
    QApplication::setActiveWindow(jobs.get());
    for (QWidget *target : {static_cast<QWidget *>(jobs->lvJob), static_cast<QWidget *>(jobs->pbClose)}) {
        main->cancelRequested = false;
        pressKey(target, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        EXPECT_TRUE(main->cancelRequested) << target->objectName().toStdString();
    }
}
