// Execute: the checks and questions before a run, the outcome of a single
// import or export, and the batch over the job list, against the real engine
// with the person's answers scripted.
#include "app/Globals.h"
#include "app/RadioGroup.h"
#include "app/RegSettings.h"
#include "app/TfmMain.h"
#include "embedded/Admin.h"
#include "joblist/JobList.h"
#include "joblist/TfmJob.h"
#include "oracle/LoginScript.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "platform/Paths.h"
#include "platform/UserStore.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedShell.h"
#include "support/TestEnvironment.h"
#include "transfer/Preview.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

const QString kImportDone = QStringLiteral("インポートを完了しました。");
const QString kNoTable = QStringLiteral("テーブルが指定されていません。");
const QString kBatchQuestion = QStringLiteral("JobListが登録されています。\nバッチモードで動作します。\nよろしいですか？\n"
                                              "単独で実行する場合は「いいえ」を選択して下さい。");
const QString kImportTruncate = QStringLiteral("データをインポートします。\nTruncateオプションが選択されています。"
                                               "現在のテーブルのデータは破棄されます。\nよろしいですか？");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// The main window and the job list window logged on to a fresh embedded
// database of their own, as the program's two global windows.
class RunControl : public testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(platform::UserStore(QString::fromLatin1(kSettingsKey)).filePath());
        dir = QString::fromStdString(testenv::makeTempDir("run"));
        const std::string database = dir.toStdString() + "/db";
        std::string error;
        ASSERT_EQ(kdb::admin::createUser(database, "SCOTT", "tiger", &error), 0) << error;
        TOCIctrl::setDefaultLibraryNames({QString::fromStdString(testenv::binDir() + "/libkarvellodb.so")});
        login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"), QString::fromStdString(database));
        main = std::make_unique<TfmMain>();
        ASSERT_TRUE(main->OCI->connected()) << main->OCI->LastError.toStdString();
        fmMain = main.get();
        jobs = std::make_unique<TfmJob>();
        fmJob = jobs.get();
        main->cbTruncate->setChecked(true);
        sql = new TOCIcur(main.get());
        sql->setOCIParent(main->OCI);
    }
    void TearDown() override
    {
        fmJob = nullptr;
        fmMain = nullptr;
        jobs.reset();
        main.reset();
        TOCIctrl::resetDefaultLibraryNames();
    }

    void run(const std::string &statement)
    {
        ASSERT_TRUE(sql->ExecuteSQL(statement)) << statement << "\n" << sql->LastError.toStdString();
    }
    int rowCount(const std::string &table)
    {
        sql->SQL = "select count(*) from " + table;
        EXPECT_TRUE(sql->Execute()) << sql->LastError.toStdString();
        EXPECT_TRUE(sql->Fetch());
        const int count = std::stoi(sql->Row().at(0));
        sql->CleanUP();
        return count;
    }
    // A table of two columns that take 3 digits and 5 characters.
    void makeTable(const std::string &name) { run("create table " + name + " (ID NUMBER(3), NAME VARCHAR2(5))"); }
    QString file(const QString &name) const { return dir + QLatin1Char('/') + name; }

    // The fields as a person leaves them after choosing a table and a file.
    void choose(const QString &table, const QString &csv)
    {
        main->edTable->setText(table);
        PreviewTable(*main, table.toStdString());
        main->edCSV->setText(csv);
        PreviewCsv(*main, csv);
    }
    void addJob(const QString &table, const QString &csv, bool selected = true)
    {
        jobs->jobList->AddJob(table.toStdString(), csv.toStdString());
        jobs->jobList->setSelected(jobs->jobList->count() - 1, selected);
    }
    std::vector<std::string> results(int row) const
    {
        const JobList &list = *jobs->jobList;
        return {list.text(row, JobList::Status), list.text(row, JobList::Record), list.text(row, JobList::Success),
                list.text(row, JobList::Error)};
    }

    LoginScript login;
    ScriptedMessageBoxes boxes;
    QString dir;
    std::unique_ptr<TfmMain> main;
    std::unique_ptr<TfmJob> jobs;
    TOCIcur *sql = nullptr;
};

// --- Checks and questions ------------------------------------------------------------

struct CheckCase {
    const char *name;
    QString table;
    QString csv;
    int mode;
    bool csvReady;
    bool tableReady;
    int csvColumns;
    int tableColumns;
    bool truncate;
    bool batch;
    QString box;      // expected box; none when empty
    MsgIcon icon;
    MsgResult answer; // Ok for a failed check's box
    bool go;
    QString message;
    const char *focus; // field that gets the focus; none when null
};

TEST_F(RunControl, ChecksAndQuestionsInOrder)
{
    const QString csv = QStringLiteral("/data/in.csv");
    const QString mismatch = QStringLiteral("テーブルとインポートデータのカラム数が一致しません。\n"
                                            "データをインポートしますが、データに不整合が生じるかもしれません。\n");
    const QString truncate = QStringLiteral("Truncateオプションが選択されています。現在のテーブルのデータは破棄されます。\n");
    const QString sure = QStringLiteral("よろしいですか？");
    const QString export_ = QStringLiteral("データをエクスポートします。\n") + sure;
    const QString import = QStringLiteral("データをインポートします。\n");
    const MsgResult ok = MsgResult::Ok, yes = MsgResult::Yes, no = MsgResult::No;
    const MsgIcon warn = MsgIcon::Warning, quest = MsgIcon::Question;
    // Each case fails every check after the one it is about, so the order shows.
    const CheckCase cases[] = {
        {"no table before no file", "", "/data/", 0, false, false, 0, 0, false, false, kNoTable, warn, ok, false,
         kNoTable, "edTable"},
        {"no file name", "T", "/data/", 0, false, false, 0, 0, false, false,
         QStringLiteral("ＣＳＶファイルが指定されていません。"), warn, ok, false,
         QStringLiteral("ＣＳＶファイルが指定されていません。"), "edCSV"},
        {"export asks and nothing else", "T", csv, 1, false, false, 0, 0, true, false, export_, quest, yes, true, "",
         nullptr},
        {"export refused", "T", csv, 1, false, false, 0, 0, false, false, export_, quest, no, false, "", nullptr},
        {"file not previewed before table", "T", csv, 0, false, false, 0, 0, false, false,
         QStringLiteral("インポートデータが指定されていません。"), warn, ok, false,
         QStringLiteral("インポートデータが指定されていません。"), "edCSV"},
        {"table not previewed although named", "T", csv, 0, true, false, 0, 0, false, false, kNoTable, warn, ok, false,
         kNoTable, "edTable"},
        {"file without fields", "T", csv, 0, true, true, 0, 2, false, false, QStringLiteral("インポートデータがありません。"),
         warn, ok, false, QStringLiteral("インポートデータがありません。"), "edCSV"},
        {"counts match, truncate", "T", csv, 0, true, true, 2, 2, true, false, import + truncate + sure, warn, yes, true,
         "", nullptr},
        {"counts match, refused", "T", csv, 0, true, true, 2, 2, false, false, import + sure, quest, no, false, "",
         nullptr},
        {"counts differ", "T", csv, 0, true, true, 1, 2, false, false, mismatch + sure, quest, yes, true, "", nullptr},
        {"counts differ, truncate", "T", csv, 0, true, true, 3, 2, true, false, mismatch + "\n" + truncate + sure, warn,
         yes, true, "", nullptr},
        {"batch: a failed check shows nothing", "T", csv, 0, true, false, 0, 0, false, true, "", warn, ok, false,
         kNoTable, nullptr},
        {"batch: questions count as Yes", "T", csv, 0, true, true, 1, 2, true, true, "", warn, ok, true, "", nullptr},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        main->pbEnd->setFocus();
        main->rgMode->setItemIndex(c.mode);
        main->csvReady = c.csvReady;
        main->tableReady = c.tableReady;
        main->csvColumnCount = c.csvColumns;
        main->tableColumnCount = c.tableColumns;
        main->cbTruncate->setChecked(c.truncate);
        if (!c.box.isEmpty())
            boxes.expect(c.box, c.icon, c.answer == ok ? MsgButtons::Ok : MsgButtons::YesNo, c.answer);
        QString message = QStringLiteral("stale");
        EXPECT_EQ(main->ConfirmTransfer(c.table, c.csv, c.batch, c.mode, message), c.go);
        // Only a failed check writes the message.
        EXPECT_EQ(message, c.message.isEmpty() ? QStringLiteral("stale") : c.message);
        EXPECT_EQ(main->focusWidget()->objectName(), QLatin1String(c.focus ? c.focus : "pbEnd"));
        EXPECT_EQ(boxes.pending(), 0u);
    }
}

// --- A single run ---------------------------------------------------------------------

TEST_F(RunControl, ImportRunsAfterItsQuestionAndRemovesStaleErrorFiles)
{
    makeTable("T");
    writeFile(file("t.csv"), "1,a\n2,b\n");
    writeFile(file("t.err"), "stale\r\n");
    writeFile(file("t.erm"), "stale\r\n");
    choose(QStringLiteral("T"), file("t.csv"));
    bool busyWhileAsked = false;
    boxes.expect(kImportTruncate, MsgIcon::Warning, MsgButtons::YesNo, MsgResult::Yes,
                 [&] { busyWhileAsked = main->busy; });
    boxes.expect(kImportDone, MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok);

    main->pbExecute->click();

    EXPECT_EQ(rowCount("T"), 2);
    EXPECT_TRUE(busyWhileAsked);
    EXPECT_FALSE(main->busy);
    EXPECT_FALSE(QFile::exists(file("t.err")));
    EXPECT_FALSE(QFile::exists(file("t.erm")));
}

TEST_F(RunControl, RejectedLinesOfferTheErrorFiles)
{
    struct Case {
        MsgResult answer;
        bool opened;
    };
    makeTable("T");
    writeFile(file("t.csv"), "1,a\n2,too long\n");
    for (const Case c : {Case{MsgResult::Yes, true}, Case{MsgResult::No, false}}) {
        SCOPED_TRACE(c.opened ? "shown" : "not shown");
        ScriptedShell shell;
        choose(QStringLiteral("T"), file("t.csv"));
        boxes.expect(kImportTruncate, MsgIcon::Warning, MsgButtons::YesNo, MsgResult::Yes);
        // Still busy: the run is not over while it asks.
        boxes.expect(kImportDone + QStringLiteral("\nエラーレコードがあります。\n表示しますか？"), MsgIcon::Warning,
                     MsgButtons::YesNo, c.answer, [&] { EXPECT_TRUE(main->busy); });

        main->pbExecuteClick(main->pbExecute);

        EXPECT_EQ(shell.opened(), c.opened ? QStringList({file("t.err"), file("t.erm")}) : QStringList());
        EXPECT_EQ(rowCount("T"), 1);
        EXPECT_TRUE(QFile::exists(file("t.err")));
    }
}

TEST_F(RunControl, ExportOfABareFileNameWritesIntoTheProgramsFolder)
{
    makeTable("T");
    run("insert into T values (7, 'x')");
    const QString name = QStringLiteral("runcontrol-%1.csv").arg(QCoreApplication::applicationPid());
    const QString path = platform::programFolder() + name;
    main->rgMode->setItemIndex(1);
    choose(QStringLiteral("T"), name);
    boxes.expect(QStringLiteral("データをエクスポートします。\nよろしいですか？"), MsgIcon::Question, MsgButtons::YesNo,
                 MsgResult::Yes);
    boxes.expect(QStringLiteral("エクスポートを完了しました。"), MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok);

    main->pbExecuteClick(main->pbExecute);

    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("7,\"x\"\r\n"));
    out.remove();
}

// --- Execute with jobs listed --------------------------------------------------------

TEST_F(RunControl, ListedJobsAskFirstUnlessTheJobListAsks)
{
    makeTable("T");
    writeFile(file("t.csv"), "1,a\n");
    addJob(QStringLiteral("T"), file("t.csv"), false);
    jobs->jobList->setText(0, JobList::Status, "old");

    // Cancel: nothing runs.
    boxes.expect(kBatchQuestion, MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::Cancel);
    main->pbExecuteClick(main->pbExecute);
    EXPECT_EQ(rowCount("T"), 0);

    // No: the fields' own table and file, once.
    choose(QStringLiteral("T"), file("t.csv"));
    boxes.expect(kBatchQuestion, MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::No);
    boxes.expect(kImportTruncate, MsgIcon::Warning, MsgButtons::YesNo, MsgResult::Yes);
    boxes.expect(kImportDone, MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok);
    main->pbExecuteClick(main->pbExecute);
    EXPECT_EQ(rowCount("T"), 1);

    // The job list's request with no job selected: no question, no job, and
    // the batch's completion all the same.
    boxes.expect(kImportDone, MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok);
    main->pbExecuteClick(nullptr);
    EXPECT_EQ(rowCount("T"), 1);
    EXPECT_EQ(results(0), (std::vector<std::string>{"old", "", "", ""}));
}

TEST_F(RunControl, BatchWritesEachJobsOutcomeIntoItsRow)
{
    makeTable("CLEAN");
    makeTable("REJECTS");
    writeFile(file("clean.csv"), "1,a\n2,b\n");
    writeFile(file("rejects.csv"), "1,a\n2,too long\n3,c\n");
    writeFile(file("missing.csv"), "1,a\n");
    addJob(QStringLiteral("CLEAN"), file("clean.csv"));
    addJob(QStringLiteral("REJECTS"), file("rejects.csv"));
    addJob(QStringLiteral("MISSING"), file("missing.csv"));
    jobs->jobList->setText(2, JobList::Record, "9");
    boxes.expect(kBatchQuestion, MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::Yes);
    boxes.expect(kImportDone, MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok,
                 [&] { EXPECT_TRUE(jobs->isEnabled()); });

    main->pbExecute->click();

    const std::string done = kImportDone.toStdString();
    EXPECT_EQ(results(0), (std::vector<std::string>{done, "2", "2", "0"}));
    EXPECT_EQ(results(1), (std::vector<std::string>{"エラーレコードがあります。", "3", "2", "1"}));
    EXPECT_EQ(results(2), (std::vector<std::string>{kNoTable.toStdString(), "0", "0", "0"}));
    EXPECT_EQ(rowCount("CLEAN"), 2);
    EXPECT_EQ(rowCount("REJECTS"), 2);
    EXPECT_FALSE(QFile::exists(file("clean.err")));
    EXPECT_TRUE(QFile::exists(file("rejects.err")));
    EXPECT_TRUE(QFile::exists(file("rejects.erm")));
    // The fields show the last job.
    EXPECT_EQ(main->edTable->text(), QStringLiteral("MISSING"));
    EXPECT_FALSE(main->busy);
}

// A job cancelled with ESC asks whether to stop the batch. While the first
// job processes events at its cancel check, nothing else may run on its
// cursor or end its session.
TEST_F(RunControl, CancelledJobAsksWhetherToStop)
{
    struct Case {
        MsgResult answer;
        std::string secondStatus;
    };
    makeTable("A");
    makeTable("B");
    writeFile(file("a.csv"), "1,a\n2,b\n");
    writeFile(file("b.csv"), "1,a\n");
    addJob(QStringLiteral("A"), file("a.csv"));
    addJob(QStringLiteral("B"), file("b.csv"));
    main->cbBreak->setChecked(true);
    for (const Case &c : {Case{MsgResult::Yes, ""}, Case{MsgResult::No, kImportDone.toStdString()}}) {
        SCOPED_TRACE(c.secondStatus);
        run("truncate table B");
        jobs->jobList->setText(1, JobList::Status, "old");
        QMetaObject::invokeMethod(
            main.get(),
            [&] {
                EXPECT_TRUE(main->busy);
                EXPECT_FALSE(jobs->isEnabled());
                main->pbExecuteClick(main->pbExecute); // strict boxes: a run would ask
                main->pbExecuteClick(nullptr);
                main->RunBatch(false);
                jobs->pbExecClick();
                main->close();
                char esc = 27;
                main->FormKeyPress(esc);
            },
            Qt::QueuedConnection);
        boxes.expect(QStringLiteral("キャンセルしますか？"), MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
        boxes.expect(QStringLiteral("キャンセルしました。\n後続の処理を中断しますか？"), MsgIcon::Question,
                     MsgButtons::YesNo, c.answer, [&] { EXPECT_TRUE(main->busy); });
        if (c.answer == MsgResult::No)
            boxes.expect(kImportDone, MsgIcon::Information, MsgButtons::Ok, MsgResult::Ok);

        jobs->pbExecClick(); // the job list window's Execute

        EXPECT_EQ(results(0), (std::vector<std::string>{"キャンセルしました。", "0", "0", "0"}));
        EXPECT_EQ(jobs->jobList->text(1, JobList::Status), c.secondStatus);
        EXPECT_EQ(rowCount("A"), 0);
        EXPECT_EQ(rowCount("B"), c.secondStatus.empty() ? 0 : 1);
        EXPECT_TRUE(main->OCI->connected());
        EXPECT_TRUE(jobs->isEnabled());
        EXPECT_FALSE(main->busy);
    }
}

} // namespace
