// The table export on a real main window against the embedded engine: the
// file's bytes for each quote character, separator and option, the overwrite
// question, what a cancel keeps, and the failures that must not read as
// completion.
#include "TransferFixture.h"

#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "transfer/Preview.h"
#include "transfer/Transfer.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <functional>
#include <sys/stat.h>
#include <optional>

namespace {

using transfer::Cancelled;
using transfer::Completed;
using transfer::Failed;

const QString kCompleted = QStringLiteral("エクスポートを完了しました。");
const QString kSqlError = QStringLiteral("ＳＱＬエラーが発生しました。");
const QString kCannotWrite = QStringLiteral("ＣＳＶファイルを出力できません。");

class Export : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        csv = path(QStringLiteral("out.csv"));
        ASSERT_NO_FATAL_FAILURE(run({
            "create table ITEMS (ID NUMBER(6), NAME VARCHAR2(10), CREATED DATE)",
            "create table EMPTY (ID NUMBER(6), NAME VARCHAR2(10), CREATED DATE)",
            "insert into ITEMS values (12, 'Pen', to_date('2001-05-01 13:45:00', 'yyyy-mm-dd hh24:mi:ss'))",
            "insert into ITEMS values (3, 'a\"b', null)",
            "insert into ITEMS values (null, null, to_date('2001-05-02', 'yyyy-mm-dd'))",
        }));
    }

    // Previews `table` in Export mode and exports it into `csv`.
    int exportTable(const std::string &table, const QString &csv, bool batch = false)
    {
        preview(1, table, csv);
        return exportPreviewed(table, csv, batch);
    }
    int exportPreviewed(const std::string &table, const QString &csv, bool batch)
    {
        message.clear();
        return ExportData(*window, table, csv, message, batch);
    }

    QString csv;
    QString message;
};

TEST_F(Export, FileBytesForEachQuoteSeparatorAndOption)
{
    struct Case {
        const char *name;
        const char *table;
        QString sep;
        QString quote;
        bool time;
        bool header;
        bool moveDateFirst;
        std::string bytes;
    };
    const QString dq = QStringLiteral("\"");
    const Case cases[] = {
        {"double quote; a null number is empty, a null text or date an empty quoted value; a quote inside stays single",
         "ITEMS", ",", dq, false, false, false,
         "12,\"Pen\",\"2001-05-01\"\r\n3,\"a\"b\",\"\"\r\n,\"\",\"2001-05-02\"\r\n"},
        {"single quote, tab, time, header", "ITEMS", "\t", "'", true, true, false,
         "ID\tNAME\tCREATED\r\n12\t'Pen'\t'2001-05-01 13:45:00'\r\n3\t'a\"b'\t''\r\n\t''\t'2001-05-02 00:00:00'\r\n"},
        {"no quote character", "ITEMS", ",", "", false, false, false, "12,Pen,2001-05-01\r\n3,a\"b,\r\n,,2001-05-02\r\n"},
        {"columns and header in the grid's dragged order", "ITEMS", ",", dq, false, true, true,
         "CREATED,ID,NAME\r\n\"2001-05-01\",12,\"Pen\"\r\n\"\",3,\"a\"b\"\r\n\"2001-05-02\",,\"\"\r\n"},
        {"empty table with header", "EMPTY", ",", dq, false, true, false, "ID,NAME,CREATED\r\n"},
        {"empty table", "EMPTY", ",", dq, false, false, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(csv);
        window->edSep->setText(c.sep);
        window->edDelim->setText(c.quote);
        window->cbTime->setChecked(c.time);
        window->cbHead->setChecked(c.header);
        preview(1, c.table, csv);
        if (c.moveDateFirst)
            window->sgData->MoveColumn(3, 1);
        EXPECT_EQ(exportPreviewed(c.table, csv, false), Completed);
        EXPECT_EQ(message, kCompleted);
        EXPECT_EQ(readFile(csv), c.bytes);
        const int64_t rowCount = std::string(c.table) == "ITEMS" ? 3 : 0;
        EXPECT_EQ(recordCount, rowCount);
        EXPECT_EQ(successCount, rowCount);
        EXPECT_EQ(errorCount, 0);
        EXPECT_EQ(window->statusText(1), QString::number(rowCount));
        EXPECT_FALSE(window->busy);
        EXPECT_TRUE(window->Panel1->isEnabled() && window->Panel2->isEnabled() && window->sgData->isEnabled());
    }
}

TEST_F(Export, AnExistingFileIsReplacedOnlyWhenAPersonAgrees)
{
    struct Case {
        const char *name;
        bool batch;
        std::optional<MsgResult> answer;
        int result;
        QString message;
        std::string bytes;
    };
    const std::string exported = "12,\"Pen\",\"2001-05-01\"\r\n3,\"a\"b\",\"\"\r\n,\"\",\"2001-05-02\"\r\n";
    const Case cases[] = {
        {"declined", false, MsgResult::No, Cancelled, {}, "old\r\n"},
        {"agreed", false, MsgResult::Yes, Completed, kCompleted, exported},
        {"batch: no question", true, {}, Completed, kCompleted, exported},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("out.csv"), "old\r\n");
        if (c.answer)
            boxes.expect(QStringLiteral("既にファイルが存在します。上書きしますか？"), MsgIcon::Question,
                         MsgButtons::YesNo, *c.answer);
        EXPECT_EQ(exportTable("ITEMS", csv, c.batch), c.result);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(readFile(csv), c.bytes);
        EXPECT_EQ(boxes.pending(), 0u);
    }
}

TEST_F(Export, CancelKeepsTheRowsWrittenBeforeIt)
{
    struct Case {
        const char *name;
        bool escStops;
        std::optional<MsgResult> answer;
        int result;
        int rows;
    };
    // ESC comes at the progress check that shows 20 rows done, of 50.
    const Case cases[] = {
        {"ESC does nothing without the box", false, {}, Completed, 50},
        {"cancel taken back", true, MsgResult::No, Completed, 50},
        {"cancelled", true, MsgResult::Yes, Cancelled, 20},
    };
    std::vector<std::string> fill = {"create table NUMS (N NUMBER(4))"};
    std::vector<std::string> lines = {"N"};
    for (int n = 1; n <= 50; ++n) {
        fill.push_back("insert into NUMS values (" + std::to_string(n) + ")");
        lines.push_back(std::to_string(n));
    }
    ASSERT_NO_FATAL_FAILURE(run(fill));
    window->cbHead->setChecked(true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(csv);
        window->cbBreak->setChecked(c.escStops);
        if (c.answer)
            boxes.expect(QStringLiteral("キャンセルしますか？"), MsgIcon::Question, MsgButtons::YesNo, *c.answer);
        escWhenDone(20);
        EXPECT_EQ(exportTable("NUMS", csv), c.result);
        EXPECT_EQ(message, c.result == Cancelled ? QStringLiteral("キャンセルしました。") : kCompleted);
        EXPECT_EQ(readFile(csv), crlfLines({lines.begin(), lines.begin() + 1 + c.rows}));
        EXPECT_EQ(recordCount, c.rows);
        EXPECT_FALSE(window->cancelRequested);
        EXPECT_EQ(boxes.pending(), 0u);
    }
}

TEST_F(Export, FailuresAreNeverReportedAsCompletion)
{
    struct Case {
        const char *name;
        const char *table;
        std::function<QString()> prepare; // after the preview; gives the path to export to
        bool batch;
        QString box;                      // shown with the error icon, when not empty
        QString message;                  // returned; empty when the box told it
        std::optional<std::string> bytes; // what the file holds afterwards
    };
    // Its second row cannot be computed: the fetch fails after the first.
    ASSERT_NO_FATAL_FAILURE(run({"create table NUMS (N NUMBER(2))", "insert into NUMS values (1)",
                                 "insert into NUMS values (2)", "create view RATIOS as select N, 10/(N-2) R from NUMS"}));
    const auto to = [](QString target) { return [target] { return target; }; };
    const Case cases[] = {
        {"the folder does not exist", "ITEMS", to(path(QStringLiteral("no-such-folder/out.csv"))), false, kCannotWrite,
         {}, "(missing)"},
        {"more than 1000 columns", "ITEMS",
         [this] {
             window->sgData->setColCount(kColumnLimit + 2);
             return csv;
         },
         false, columnLimitMessage(kColumnLimit), {}, ""},
        {"a fetch fails after the first row", "RATIOS", to(csv), false, {}, kSqlError, "1,-10\r\n"},
        {"a full disk", "ITEMS", to(fullDiskLink(QStringLiteral("full.csv"))), true, {}, kCannotWrite, std::nullopt},
        // Opening a pipe for writing would wait for a reader that never comes.
        {"a named pipe", "ITEMS",
         [this] {
             const QString fifo = path(QStringLiteral("pipe.csv"));
             mkfifo(QFile::encodeName(fifo).constData(), 0600);
             return fifo;
         },
         true, {}, kCannotWrite, std::nullopt},
        {"the query fails", "ITEMS",
         [this] {
             run({"drop table ITEMS"});
             return csv;
         },
         false, {}, kSqlError, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(csv);
        preview(1, c.table, csv);
        const QString target = c.prepare();
        if (!c.box.isEmpty())
            boxes.expect(c.box, MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
        EXPECT_EQ(exportPreviewed(c.table, target, c.batch), Failed);
        EXPECT_EQ(message, c.message);
        if (c.bytes) {
            EXPECT_EQ(readFile(target), *c.bytes);
        }
        EXPECT_FALSE(window->busy);
        EXPECT_EQ(boxes.pending(), 0u);
    }
    EXPECT_TRUE(QFile::exists(QStringLiteral("/dev/full")));
}

TEST_F(Export, ATableThatWasNotPreviewedIsRefused)
{
    window->tableReady = false;
    boxes.expect(QStringLiteral("テーブルが指定されていません。"), MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
    EXPECT_EQ(exportPreviewed("ITEMS", csv, false), Failed);
    EXPECT_FALSE(QFile::exists(csv));
}

} // namespace
