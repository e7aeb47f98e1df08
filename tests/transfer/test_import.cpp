// The CSV import on a real main window against the embedded engine: what
// reaches the table, the two error files, the commits and what a cancel or a
// stop keeps, and the failures before and during a run.
#include "TransferFixture.h"

#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "transfer/Transfer.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <optional>

namespace {

using transfer::Cancelled;
using transfer::Completed;
using transfer::Failed;

const QString kCompleted = QStringLiteral("インポートを完了しました。");
const QString kStopped = QStringLiteral("中断しました。");
const QString kLinesLost = QStringLiteral("\nエラーファイルに出力できなかったエラーレコードがあります。");
const std::string kItemsRows = "select ID, NAME, to_char(CREATED,'yyyy-mm-dd hh24:mi:ss') from ITEMS order by ID";

class Import : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        errPath = path(QStringLiteral("data.err"));
        ermPath = path(QStringLiteral("data.erm"));
        ASSERT_NO_FATAL_FAILURE(
            run({"create table ITEMS (ID NUMBER(6) NOT NULL, NAME VARCHAR2(10), CREATED DATE)"}));
    }

    // Previews `table` and the CSV file `bytes`, then imports it with the
    // error files beside it.
    int import(const std::string &bytes, bool batch = false, const std::string &table = "ITEMS")
    {
        const QString csv = writeFile(QStringLiteral("data.csv"), bytes);
        preview(0, table, csv);
        return importPreviewed(csv, batch);
    }
    int importPreviewed(const QString &csv, bool batch)
    {
        message = QStringLiteral("(untouched)");
        return ImportData(*window, "ITEMS", csv, errPath, ermPath, message, batch);
    }
    int64_t itemCount() { return int64_t(rows("select ID from ITEMS").size()); }

    QString errPath;
    QString ermPath;
    QString message;
};

// "n,Nn" for n = 1..count.
std::string numberedLines(int count)
{
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n)
        lines.push_back(std::to_string(n) + ",N" + std::to_string(n));
    return crlfLines(lines);
}

TEST_F(Import, LinesReachTheTableWhateverTheirBreaksAndFieldCounts)
{
    struct Case {
        const char *name;
        std::string csv;
        bool header;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"crlf, quoted separator, date", "1,Pen,2001-05-01 13:45:00\r\n2,\"Ink, blue\",\r\n", false,
         {"1|Pen|2001-05-01 13:45:00", "2|Ink, blue|"}},
        {"lf, blank lines, header, no last break", "ID,NAME\n\n1,Pen\n\n\n2,Cup", true, {"1|Pen|", "2|Cup|"}},
        {"cr only", "1,A\r2,B\r", false, {"1|A|", "2|B|"}},
        {"fewer fields store nulls, extra fields are dropped", "1\r\n2,Cup,2001-05-01 00:00:00,extra,more\r\n", false,
         {"1||", "2|Cup|2001-05-01 00:00:00"}},
        {"a header line alone", "ID,NAME\r\n", true, {}},
        {"a header line that holds data is not stored", "9,Header\r\n1,Pen\r\n", true, {"1|Pen|"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(run({"truncate table ITEMS"}));
        window->cbHead->setChecked(c.header);
        EXPECT_EQ(import(c.csv), Completed);
        EXPECT_EQ(message, kCompleted);
        EXPECT_EQ(rows(kItemsRows), c.rows);
        EXPECT_EQ(recordCount, int64_t(c.rows.size()));
        EXPECT_EQ(successCount, int64_t(c.rows.size()));
        EXPECT_EQ(errorCount, 0);
        EXPECT_EQ(window->statusText(1), QString::number(c.rows.size()));
        EXPECT_EQ(window->statusText(3), QStringLiteral("0"));
        EXPECT_FALSE(QFile::exists(errPath));
        EXPECT_FALSE(QFile::exists(ermPath));
        EXPECT_FALSE(window->busy);
        EXPECT_TRUE(window->Panel1->isEnabled() && window->Panel2->isEnabled() && window->sgData->isEnabled());
    }
}

TEST_F(Import, RejectedLinesAndTheirReasonsGoLineForLineIntoFilesThatImportAgain)
{
    const std::vector<std::string> rejected = {
        "x,\"Bad, quoted\",",              // not a number
        ",\"No id\",2001-05-01 00:00:00", // no value for a NOT NULL column
        "3,TooLongAName,",                // longer than the column
    };
    const std::string csv = crlfLines({"1,Pen,", rejected[0], "2,Cup,", rejected[1], rejected[2]});
    EXPECT_EQ(import(csv), Completed);
    EXPECT_EQ(message, kCompleted);
    EXPECT_EQ(rows(kItemsRows), (std::vector<std::string>{"1|Pen|", "2|Cup|"}));
    EXPECT_EQ(recordCount, 5);
    EXPECT_EQ(successCount, 2);
    EXPECT_EQ(errorCount, 3);
    EXPECT_EQ(window->statusText(3), QStringLiteral("3"));
    EXPECT_EQ(window->errFile, nullptr);
    EXPECT_EQ(window->ermFile, nullptr);

    EXPECT_EQ(readFile(errPath), crlfLines(rejected));
    // One line per rejected line, the database's line feeds turned into spaces.
    const QList<QByteArray> reasons = QByteArray::fromStdString(readFile(ermPath)).split('\n');
    const char *codes[] = {"ORA-01722", "ORA-01400", "ORA-12899"};
    ASSERT_EQ(reasons.size(), 4);
    EXPECT_TRUE(reasons[3].isEmpty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(reasons[i].startsWith("-- ORACLE error when processing OCI function ORA-")) << reasons[i].constData();
        EXPECT_TRUE(reasons[i].contains(codes[i])) << reasons[i].constData();
        EXPECT_TRUE(reasons[i].endsWith('\r')) << reasons[i].constData();
        EXPECT_FALSE(reasons[i].chopped(1).contains('\r'));
    }

    // The record file is a CSV file of the same dialect: imported into text
    // columns it gives back the fields of the rejected lines.
    ASSERT_NO_FATAL_FAILURE(run({"create table FIXED (ID VARCHAR2(10), NAME VARCHAR2(20), CREATED VARCHAR2(20))"}));
    const QString again = path(QStringLiteral("again.csv"));
    ASSERT_TRUE(QFile::copy(errPath, again));
    preview(0, "FIXED", again);
    QString secondMessage;
    EXPECT_EQ(ImportData(*window, "FIXED", again, path(QStringLiteral("again.err")), path(QStringLiteral("again.erm")),
                         secondMessage, false),
              Completed);
    EXPECT_EQ(rows("select ID, NAME, CREATED from FIXED"),
              (std::vector<std::string>{"x|Bad, quoted|", "|No id|2001-05-01 00:00:00", "3|TooLongAName|"}));
}

TEST_F(Import, FieldsGoToTheColumnsInTheOrderTheGridWasDraggedInto)
{
    const QString csv = writeFile(QStringLiteral("data.csv"), crlfLines({"Pen,1", "Cup,2"}));
    preview(0, "ITEMS", csv);
    window->sgData->MoveColumn(2, 1); // NAME, ID, CREATED
    EXPECT_EQ(importPreviewed(csv, false), Completed);
    EXPECT_EQ(rows(kItemsRows), (std::vector<std::string>{"1|Pen|", "2|Cup|"}));
}

TEST_F(Import, CancelKeepsWhatWasCommittedBeforeIt)
{
    struct Case {
        const char *name;
        bool escStops;
        int commitEvery; // 0: AutoCommit off
        bool header;
        std::optional<MsgResult> answer;
        int result;
        int64_t kept;
    };
    // ESC comes at the progress check that shows 20 lines done, of 50.
    const Case cases[] = {
        {"ESC does nothing without the box", false, 0, false, {}, Completed, 50},
        {"cancel taken back", true, 0, false, MsgResult::No, Completed, 50},
        {"no intermediate commits", true, 0, false, MsgResult::Yes, Cancelled, 0},
        // The commit counter counts the header line too.
        {"every 10 lines without a header: after lines 11 and 21", true, 10, false, MsgResult::Yes, Cancelled, 11},
        {"every 10 lines with a header: after lines 10 and 20", true, 10, true, MsgResult::Yes, Cancelled, 20},
        {"every 7 lines: after lines 8 and 15", true, 7, false, MsgResult::Yes, Cancelled, 15},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(run({"truncate table ITEMS"}));
        window->cbBreak->setChecked(c.escStops);
        window->cbAutoCmt->setChecked(c.commitEvery > 0);
        window->udCmt->setValue(std::max(c.commitEvery, 1));
        window->cbHead->setChecked(c.header);
        if (c.answer)
            boxes.expect(QStringLiteral("キャンセルしますか？"), MsgIcon::Question, MsgButtons::YesNo, *c.answer);
        escWhenDone(20);
        EXPECT_EQ(import((c.header ? "ID,NAME\r\n" : "") + numberedLines(50)), c.result);
        EXPECT_EQ(message, c.result == Cancelled ? QStringLiteral("キャンセルしました。") : kCompleted);
        EXPECT_EQ(itemCount(), c.kept);
        EXPECT_EQ(recordCount, c.result == Cancelled ? 20 : 50);
        EXPECT_FALSE(window->cancelRequested);
        EXPECT_FALSE(QFile::exists(errPath));
        EXPECT_EQ(boxes.pending(), 0u);
    }
}

TEST_F(Import, TheHundredthRejectedLineStopsABatchAndAsksAPerson)
{
    struct Case {
        const char *name;
        bool batch;
        std::optional<MsgResult> answer;
        int result;
        QString message;
        int64_t kept;
        int64_t errors;
    };
    const Case cases[] = {
        {"stop: rolled back", false, MsgResult::Yes, Cancelled, kStopped, 0, 100},
        {"go on: asked once, the rest imported", false, MsgResult::No, Failed, kCompleted, 5, 101},
        {"batch: stopped, what came before committed", true, {}, Failed, kStopped, 3, 100},
    };
    std::vector<std::string> lines = {"1,A", "2,B", "3,C"};
    lines.insert(lines.end(), 101, "x,Bad");
    lines.insert(lines.end(), {"4,D", "5,E"});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(run({"truncate table ITEMS"}));
        if (c.answer)
            boxes.expect(QStringLiteral("エラーが100件に達しました。中断しますか？"), MsgIcon::Question,
                         MsgButtons::YesNo, *c.answer);
        EXPECT_EQ(import(crlfLines(lines), c.batch), c.result);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(itemCount(), c.kept);
        EXPECT_EQ(errorCount, c.errors);
        EXPECT_EQ(window->statusText(3), QString::number(c.errors));
        EXPECT_EQ(readFile(errPath), crlfLines(std::vector<std::string>(size_t(c.errors), "x,Bad")));
        EXPECT_FALSE(window->cancelRequested);
        EXPECT_EQ(boxes.pending(), 0u);
    }
}

TEST_F(Import, TruncateStaysDoneAfterAFailedPrepareOrACancel)
{
    struct Case {
        const char *name;
        bool batch;
        bool unknownColumn; // the INSERT cannot be prepared
        int result;
        QString message;
    };
    const QString noColumn = QStringLiteral("項目がテーブルに存在しません。");
    const Case cases[] = {
        {"prepare fails", false, true, Failed, noColumn},
        {"prepare fails in a batch, which says so in a box", true, true, Failed, noColumn},
        {"cancel at the first check", false, false, Cancelled, QStringLiteral("キャンセルしました。")},
    };
    window->cbTruncate->setChecked(true);
    window->cbBreak->setChecked(true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(run({"insert into ITEMS (ID) values (7)", "insert into ITEMS (ID) values (8)"}));
        const QString csv = writeFile(QStringLiteral("data.csv"), numberedLines(5));
        preview(0, "ITEMS", csv);
        if (c.unknownColumn)
            window->sgData->setCells(1, 0, "NOPE");
        if (c.batch)
            boxes.expect(noColumn, MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
        if (!c.unknownColumn) {
            boxes.expect(QStringLiteral("キャンセルしますか？"), MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
            escWhenDone(0);
        }
        EXPECT_EQ(importPreviewed(csv, c.batch), c.result);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(itemCount(), 0);
        EXPECT_EQ(boxes.pending(), 0u);
    }
}

TEST_F(Import, ErrorFilesThatCannotBeWrittenNeverEndAsACleanRun)
{
    struct Case {
        const char *name;
        const char *records; // "ok", "missing" (cannot be created) or "full" (a full disk)
        const char *messages;
        bool batch;
        std::vector<std::pair<QString, MsgResult>> questions;
        int result;
        QString message;
        int64_t kept;
    };
    const QString noRecords = QStringLiteral("エラーファイルを出力できません。\nインポートを実行しますか？");
    const QString noMessages = QStringLiteral("エラーメッセージファイルを出力できません。\nインポートを実行しますか？");
    const Case cases[] = {
        {"no record file, declined", "missing", "ok", false, {{noRecords, MsgResult::No}}, Failed, {}, 0},
        {"no message file, declined", "ok", "missing", false, {{noMessages, MsgResult::No}}, Failed, {}, 0},
        {"no record file, accepted", "missing", "ok", false, {{noRecords, MsgResult::Yes}}, Completed, kCompleted, 1},
        {"no record file in a batch", "missing", "ok", true, {}, Failed, kCompleted + kLinesLost, 1},
        {"records on a full disk", "full", "ok", false, {}, Failed, kCompleted + kLinesLost, 1},
        {"messages on a full disk in a batch", "ok", "full", true, {}, Failed, kCompleted + kLinesLost, 1},
    };
    const auto place = [this](const char *kind, const QString &name) {
        const std::string k = kind;
        QFile::remove(path(name));
        return k == "missing" ? path(QStringLiteral("no-such-folder/") + name)
             : k == "full"    ? fullDiskLink(name)
                              : path(name);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(run({"truncate table ITEMS"}));
        errPath = place(c.records, QStringLiteral("data.err"));
        ermPath = place(c.messages, QStringLiteral("data.erm"));
        for (const auto &[text, answer] : c.questions)
            boxes.expect(text, MsgIcon::Question, MsgButtons::YesNo, answer);
        EXPECT_EQ(import(crlfLines({"1,Pen", "x,Bad"}), c.batch), c.result);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(itemCount(), c.kept);
        // A declined run leaves no file of its own behind.
        if (c.kept == 0) {
            EXPECT_FALSE(QFile::exists(path(QStringLiteral("data.err"))));
            EXPECT_FALSE(QFile::exists(path(QStringLiteral("data.erm"))));
        }
        EXPECT_EQ(window->errFile, nullptr);
        EXPECT_EQ(window->ermFile, nullptr);
        EXPECT_EQ(boxes.pending(), 0u);
    }
    EXPECT_TRUE(QFile::exists(QStringLiteral("/dev/full")));
}

TEST_F(Import, RunsThatCannotStartOrCannotReadTheirFileDoNotComplete)
{
    struct Case {
        const char *name;
        bool previewed;
        QString csv; // imported after a preview of a good file
        bool batch;
        QString box; // a warning box, when one comes
        int result;
        QString message;
    };
    const QString cannotOpen = QStringLiteral("CSVファイルを開けません");
    const QString missing = path(QStringLiteral("missing.csv"));
    // Opens, and then fails at its first read.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    const Case cases[] = {
        {"not previewed", false, missing, false, {}, Failed, {}},
        {"file missing", true, missing, false, cannotOpen, Failed, {}},
        {"file missing in a batch", true, missing, true, {}, Failed, cannotOpen},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString good = writeFile(QStringLiteral("good.csv"), "1,Pen\r\n");
        if (c.previewed)
            preview(0, "ITEMS", good);
        else
            window->csvReady = false;
        if (!c.box.isEmpty())
            boxes.expect(c.box, MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
        EXPECT_EQ(importPreviewed(c.csv, c.batch), c.result);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(recordCount, 0);
        EXPECT_FALSE(QFile::exists(errPath));
        EXPECT_FALSE(QFile::exists(ermPath));
        EXPECT_FALSE(window->busy);
        EXPECT_EQ(boxes.pending(), 0u);
    }

    // A file that breaks off is not taken for a whole one.
    preview(0, "ITEMS", writeFile(QStringLiteral("good.csv"), "1,Pen\r\n"));
    EXPECT_EQ(importPreviewed(unreadable, false), Failed);
    EXPECT_TRUE(message.startsWith(QStringLiteral("CSVファイルを最後まで読めませんでした。\n"))) << message.toStdString();
}

} // namespace
