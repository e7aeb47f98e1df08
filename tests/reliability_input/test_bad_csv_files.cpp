// Broken, strange and missing CSV files handed to Execute in Import mode:
// the boxes a person sees, the rows the table ends with, the error files
// beside the file, and the file itself left as it was.
#include "BadInputFixture.h"

#include "app/RadioGroup.h"
#include "joblist/ErrorFiles.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <sys/stat.h>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

// A box as the person is to see it, and the button they press.
struct SeenBox {
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
    MsgResult answer;
};

const SeenBox kImportQuestion{QStringLiteral("データをインポートします。\nよろしいですか？"), MsgIcon::Question,
                              MsgButtons::YesNo, MsgResult::Yes};
const SeenBox kMismatchQuestion{
    QStringLiteral("テーブルとインポートデータのカラム数が一致しません。\n"
                   "データをインポートしますが、データに不整合が生じるかもしれません。\nよろしいですか？"),
    MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes};
const SeenBox kCompleted{QStringLiteral("インポートを完了しました。"), MsgIcon::Information, MsgButtons::Ok,
                         MsgResult::Ok};
const SeenBox kCompletedWithErrors{
    QStringLiteral("インポートを完了しました。\nエラーレコードがあります。\n表示しますか？"), MsgIcon::Warning,
    MsgButtons::YesNo, MsgResult::No};
const SeenBox kNoData{QStringLiteral("インポートデータがありません。"), MsgIcon::Warning, MsgButtons::Ok,
                      MsgResult::Ok};
const SeenBox kNotNamed{QStringLiteral("インポートデータが指定されていません。"), MsgIcon::Warning, MsgButtons::Ok,
                        MsgResult::Ok};
const SeenBox kCannotOpen{QStringLiteral("CSVファイルを開けません"), MsgIcon::Warning, MsgButtons::Ok,
                          MsgResult::Ok};

const std::string kMissing = "(missing)";
const std::string kRows = "select ID, NAME from BAD_INPUT order by ID";
const std::string kKept = "0|kept";

class BadCsvFiles : public BadInput {
protected:
    void expect(const SeenBox &box, std::function<void()> whileShown = {})
    {
        boxes.expect(box.text, box.icon, box.buttons, box.answer, std::move(whileShown));
    }

    void SetUp() override
    {
        BadInput::SetUp();
        if (rows("select TABLE_NAME from USER_TABLES where TABLE_NAME = 'BAD_INPUT'").empty()) {
            ASSERT_NO_FATAL_FAILURE(run({"create table BAD_INPUT (ID NUMBER(6) PRIMARY KEY, NAME VARCHAR2(20))"}));
        }
    }
};

TEST_F(BadCsvFiles, EachCaseTellsThePersonAndKeepsTheRowsAndTheFile)
{
    const std::string longLine = "1," + std::string(50u << 20, 'x');
    struct Case {
        const char *name;
        // Makes the file (or what stands where it should be); its path.
        std::function<QString(BadInput &)> make;
        std::vector<SeenBox> boxes;
        std::vector<std::string> rows; // besides the row that was there before
        std::string errorRecords;      // the .err file's bytes, or kMissing
        QString errorReason;           // a part of the .erm file; none when empty
        bool removeAtQuestion = false; // the file goes while the question shows
    };
    const Case cases[] = {
        {"a quote never closed keeps the rest of its line as one field",
         [](BadInput &t) { return t.writeFile("quote.csv", crlf({"1,\"Pen", "\"2,Cup", "3,Ink\""})); },
         {kImportQuestion, kCompletedWithErrors},
         {"1|Pen", "3|Ink"},
         crlf({"\"2,Cup"}),
         QStringLiteral("ORA-01722")},
        {"a NUL byte ends its line's text",
         [](BadInput &t) { return t.writeFile("nul.csv", std::string("1,A\0B\r\n2,\0\0\r\n\0\0\r\n3,C", 21)); },
         {kImportQuestion, kCompleted},
         {"1|A", "2|", "3|C"},
         kMissing,
         {}},
        {"a 50 MB line is refused with the database's reason, the next line stored",
         [&](BadInput &t) { return t.writeFile("long.csv", crlf({longLine, "2,Cup"})); },
         {kImportQuestion, kCompletedWithErrors},
         {"2|Cup"},
         crlf({longLine}),
         QStringLiteral("ORA-12899")},
        {"a million separators on one line: the extra fields are dropped",
         [](BadInput &t) { return t.writeFile("wide.csv", crlf({"1,A" + std::string(1000000, ','), "2,B"})); },
         {kMismatchQuestion, kCompleted},
         {"1|A", "2|B"},
         kMissing,
         {}},
        {"binary bytes are data like any other",
         [](BadInput &t) {
             return t.writeFile("binary.csv", std::string("5,\x01\x02\x7f\x80\x81\x9f\xa0\xfe\xff\r\n"
                                                          "\xff\xfe\xfd,\x00\x01\r\n",
                                                          20));
         },
         {kImportQuestion, kCompletedWithErrors},
         {"5|\x01\x02\x7f\x80\x81\x9f\xa0\xfe\xff"},
         crlf({"\xff\xfe\xfd,"}),
         QStringLiteral("ORA-01722")},
        {"an empty file", [](BadInput &t) { return t.writeFile("empty.csv", ""); }, {kNoData}, {}, kMissing, {}},
        {"line breaks only", [](BadInput &t) { return t.writeFile("breaks.csv", "\r\n\n\r\r\n"); }, {kNoData}, {},
         kMissing, {}},
        {"a file that is not there",
         [](BadInput &t) { return t.path("missing.csv"); },
         {kNotNamed},
         {},
         kMissing,
         {}},
        {"a folder where the file should be",
         [](BadInput &t) {
             QDir().mkpath(t.path("folder.csv"));
             return t.path("folder.csv");
         },
         {kNotNamed},
         {},
         kMissing,
         {}},
        {"a named pipe that nobody writes to",
         [](BadInput &t) {
             EXPECT_EQ(::mkfifo(t.path("pipe.csv").toLocal8Bit().constData(), 0600), 0);
             return t.path("pipe.csv");
         },
         {kNotNamed},
         {},
         kMissing,
         {}},
        {"a device that never ends", [](BadInput &) { return QStringLiteral("/dev/zero"); }, {kNotNamed}, {},
         kMissing, {}},
        {"the file vanishes between the preview and the import",
         [](BadInput &t) { return t.writeFile("vanishing.csv", crlf({"1,Pen"})); },
         {kImportQuestion, kCannotOpen},
         {},
         kMissing,
         {},
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(run({"delete from BAD_INPUT", "insert into BAD_INPUT values (0, 'kept')"}));
        const QString csv = c.make(*this);
        const QStringList errorFiles = errorFilePaths(csv);
        const bool regular = QFileInfo(csv).isFile();
        const std::string before = regular ? readFile(csv) : std::string();

        for (size_t i = 0; i < c.boxes.size(); ++i) {
            const SeenBox &box = c.boxes[i];
            std::function<void()> whileShown;
            if (c.removeAtQuestion && i == 0)
                whileShown = [&] { QFile::remove(csv); };
            expect(box, whileShown);
        }
        window->rgMode->setItemIndex(0);
        enterTable(QStringLiteral("BAD_INPUT"));
        window->edCSV->setText(csv);
        window->pbExecute->click();

        EXPECT_EQ(boxes.pending(), 0u);
        std::vector<std::string> expected{kKept};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        EXPECT_EQ(rows(kRows), expected);
        EXPECT_EQ(readFile(errorFiles[0]), c.errorRecords);
        const std::string reasons = readFile(errorFiles[1]);
        if (c.errorReason.isEmpty()) {
            EXPECT_EQ(reasons, kMissing);
        } else {
            EXPECT_NE(reasons.find(c.errorReason.toStdString()), std::string::npos) << reasons.substr(0, 200);
        }
        if (regular && !c.removeAtQuestion) {
            EXPECT_TRUE(readFile(csv) == before) << "the CSV file changed";
        }
        EXPECT_FALSE(window->busy);
        for (const QString &file : errorFiles)
            QFile::remove(file);
    }
}

// Root reads every file whatever its permission bits say; the case is made
// with those bits enforced for this thread.
TEST_F(BadCsvFiles, AFileThatCannotBeReadIsNotImported)
{
    ASSERT_NO_FATAL_FAILURE(run({"delete from BAD_INPUT", "insert into BAD_INPUT values (0, 'kept')"}));
    const std::string bytes = crlf({"1,Pen"});
    const QString csv = writeFile("unreadable.csv", bytes);
    ASSERT_TRUE(QFile::setPermissions(csv, QFileDevice::WriteOwner));
    FilePermissionsEnforced enforced;
    if (!enforced.available())
        GTEST_SKIP() << "cannot give up root's right to read any file here";

    expect(kNotNamed);
    window->rgMode->setItemIndex(0);
    enterTable(QStringLiteral("BAD_INPUT"));
    window->edCSV->setText(csv);
    window->pbExecute->click();

    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(rows(kRows), std::vector<std::string>{kKept});
    EXPECT_FALSE(QFile::exists(errorFilePaths(csv)[0]));
    QFile::setPermissions(csv, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readFile(csv), bytes);
}

} // namespace
