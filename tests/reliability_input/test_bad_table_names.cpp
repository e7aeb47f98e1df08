// Table names with quotes, semicolons and comment marks typed into the table
// field (which upper-cases what is typed) and run through the preview,
// Count, the import with Truncate on, and the export: whatever the name, the
// program sends one statement about that one table, and the tables it does
// not name keep every row.
#include "BadInputFixture.h"

#include "app/RadioGroup.h"
#include "joblist/JobList.h"
#include "joblist/TfmJob.h"
#include "support/ScriptedFileDialogs.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

namespace {

using platform::MsgResult;

const std::string kNoTable = "テーブルが指定されていません。";
const std::string kExportQuestion = "データをエクスポートします。\nよろしいですか？";
const std::string kStaffRows = "select count(*) from STAFF";

const std::vector<std::string> kHostileNames = {
    "STAFF'",
    "STAFF\"",
    "STAFF' OR '1'='1",
    "X\\' OR 1=1 --",
    "STAFF;",
    "STAFF; DROP TABLE STAFF",
    "STAFF -- COMMENT",
    "STAFF /* COMMENT */",
    "/* */ STAFF",
    "DROP TABLE STAFF",
    "STAFF WHERE 1=0 UNION SELECT * FROM SECTIONS",
};

class BadTableNames : public BadInput {
protected:
    // Counts, imports `csv` into and exports `table` as a person would,
    // answering Yes to every question; the texts of the boxes.
    std::vector<std::string> countImportAndExport(const std::string &table, const QString &csv)
    {
        ScriptedMessageBoxes yes(MsgResult::Yes);
        window->cbTruncate->setChecked(true);
        for (int mode : {0, 1}) {
            window->rgMode->setItemIndex(mode);
            enterTable(QString::fromStdString(table));
            window->pbCount->click();
            window->edCSV->setText(mode == 0 ? csv : exported());
            window->pbExecute->click();
        }
        window->cbTruncate->setChecked(false);
        std::vector<std::string> texts;
        for (const auto &box : yes.shown())
            texts.push_back(box.text.toStdString());
        return texts;
    }
    QString exported() const { return path(QStringLiteral("export.csv")); }
};

TEST_F(BadTableNames, ANameThatIsNoTableIsRefusedBeforeAnyStatement)
{
    const QString csv = writeFile("staff.csv", crlf({"9999,Intruder"}));
    for (const std::string &name : kHostileNames) {
        SCOPED_TRACE(name);
        EXPECT_EQ(countImportAndExport(name, csv), (std::vector<std::string>{kNoTable, kExportQuestion, kNoTable}));
        EXPECT_FALSE(window->tableReady);
        EXPECT_EQ(rows(kStaffRows), std::vector<std::string>{"14"});
        EXPECT_EQ(readFile(exported()), "(missing)");
    }
}

// The same names given to tables of their own, as quoted identifiers: now
// the preview finds them, and Count, Truncate, the INSERT and the export's
// SELECT all carry the name into their SQL. Each is to act on that table
// alone, never on STAFF.
TEST_F(BadTableNames, ATableNamedLikeAStatementIsTheOnlyTableTouched)
{
    const QString csv = writeFile("staff.csv", crlf({"9999,Intruder"}));
    for (const std::string &name : kHostileNames) {
        // No identifier holds a double quote or more than 30 bytes.
        if (name.find('"') != std::string::npos || name.size() > 30)
            continue;
        SCOPED_TRACE(name);
        const std::string quoted = "\"" + name + "\"";
        ASSERT_NO_FATAL_FAILURE(run({"create table " + quoted + " (STAFF_ID NUMBER(4), NAME VARCHAR2(20))",
                                     "insert into " + quoted + " values (1, 'OWN')"}));
        QFile::remove(exported());

        const std::string counted = "テーブル [" + name + "] には\n1件\nのデータがあります。";
        EXPECT_EQ(countImportAndExport(name, csv),
                  (std::vector<std::string>{
                      counted,
                      "データをインポートします。\nTruncateオプションが選択されています。"
                      "現在のテーブルのデータは破棄されます。\nよろしいですか？",
                      "インポートを完了しました。", counted, kExportQuestion, "エクスポートを完了しました。"}));
        EXPECT_EQ(rows("select STAFF_ID, NAME from " + quoted), std::vector<std::string>{"9999|Intruder"});
        EXPECT_EQ(readFile(exported()), "9999,\"Intruder\"\r\n");
        EXPECT_EQ(rows(kStaffRows), std::vector<std::string>{"14"}) << "STAFF lost rows";
        ASSERT_NO_FATAL_FAILURE(run({"drop table " + quoted}));
    }
    EXPECT_EQ(rows("select count(*) from SECTIONS"), std::vector<std::string>{"4"});
}

// The names loaded from a list file and run as one batch: each job is
// refused in its STATUS, and the batch goes on to the end.
TEST_F(BadTableNames, AListFileOfSuchNamesRunsAsABatchThatTouchesNothing)
{
    TfmJob jobWindow;
    fmJob = &jobWindow;
    const auto forget = qScopeGuard([] { fmJob = nullptr; });
    const QString csv = writeFile("staff.csv", crlf({"9999,Intruder"}));
    std::string list = "0\r\n";
    for (const std::string &name : kHostileNames)
        list += name + "\t" + csv.toStdString() + "\r\n";
    ScriptedFileDialogs dialogs;
    dialogs.answer(writeFile("hostile.lst", list));
    jobWindow.pbLoad->click();
    ASSERT_EQ(jobWindow.jobList->count(), int(kHostileNames.size()));
    window->cbTruncate->setChecked(true);

    boxes.expect(QStringLiteral("JobListが登録されています。\nバッチモードで動作します。\nよろしいですか？\n"
                                "単独で実行する場合は「いいえ」を選択して下さい。"),
                 platform::MsgIcon::Question, platform::MsgButtons::YesNoCancel, MsgResult::Yes);
    boxes.expect(QStringLiteral("インポートを完了しました。"), platform::MsgIcon::Information, platform::MsgButtons::Ok,
                 MsgResult::Ok);
    window->pbExecute->click();

    EXPECT_EQ(boxes.pending(), 0u);
    for (int row = 0; row < jobWindow.jobList->count(); ++row) {
        SCOPED_TRACE(jobWindow.jobList->job(row).table);
        EXPECT_EQ(jobWindow.jobList->text(row, JobList::Status), kNoTable);
    }
    EXPECT_EQ(rows(kStaffRows), std::vector<std::string>{"14"});
}

} // namespace
