// The previews on the demo schema of the embedded engine and on real files:
// the grid's column names, type texts and first rows or lines, and the state
// they leave for a transfer.
#include "app/RadioGroup.h"
#include "app/StringGrid.h"
#include "platform/Paths.h"
#include "support/DemoWindow.h"
#include "support/TestEnvironment.h"
#include "transfer/Preview.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <string>
#include <vector>

namespace {

// --- Type texts and classes ------------------------------------------------------------

struct TypeTextCase {
    const char *type, *length, *precision, *scale;
    const char *text;
};

TEST(TypeText, FromTheDictionary)
{
    const TypeTextCase cases[] = {
        {"VARCHAR2", "20", "", "", "VARCHAR2(20)"},
        {"VARCHAR", "5", "", "", "VARCHAR(5)"},
        {"CHAR", "2", "", "", "CHAR(2)"},
        {"NUMBER", "22", "10", "0", "NUMBER(10)"},
        {"NUMBER", "22", "10", "2", "NUMBER(10,2)"},
        {"NUMBER", "22", "", "", "NUMBER"},       // declared without precision
        {"NUMBER", "22", "", "0", "NUMBER"},      // INTEGER
        {"NUMBER", "22", "", "2", "NUMBER(*,2)"}, // a scale alone
        {"DATE", "7", "", "", "DATE"},
        {"LONG", "0", "", "", "LONG(0)"},
        {"RAW", "4", "", "", "???"},
        {"TIMESTAMP(6)", "11", "", "6", "???"},
        {"varchar2", "20", "", "", "???"}, // exact comparison
    };
    for (const TypeTextCase &c : cases)
        EXPECT_EQ(TypeText(c.type, c.length, c.precision, c.scale), c.text) << c.type << " " << c.precision;
}

TEST(TypeText, ClassByHowTheTextBegins)
{
    const std::pair<const char *, ColumnClass> cases[] = {
        {"CHAR(2)", ColumnClass::Text},       {"VARCHAR(5)", ColumnClass::Text},
        {"VARCHAR2(20)", ColumnClass::Text},  {"NUMBER(10,2)", ColumnClass::Number},
        {"NUMBER", ColumnClass::Number},      {"DATE", ColumnClass::Date},
        {"LONG(0)", ColumnClass::Long},       {"???", ColumnClass::Other},
        {"char(2)", ColumnClass::Other},      {"DAT", ColumnClass::Other},
        {"", ColumnClass::Other},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ClassOfTypeText(text), expected) << text;
}

// --- Table previews ------------------------------------------------------------------------

class Previews : public DemoWindow {
protected:
    // The tables beside the demo's, made once for the whole executable.
    static const std::string &provisioningError()
    {
        static const std::string error = [] {
            std::string script = "CREATE TABLE MANY_ROWS (N NUMBER(3), LABEL VARCHAR2(10));\n";
            for (int n = 1; n <= 40; ++n)
                script += "INSERT INTO MANY_ROWS VALUES (" + std::to_string(n) + ", 'row " + std::to_string(n)
                          + "');\n";
            script += "CREATE TABLE ODD_TYPES (ID NUMBER(4), NOTE LONG, CODE RAW(4), QTY INTEGER, RATE NUMBER(10,2));\n"
                      "INSERT INTO ODD_TYPES (ID, NOTE) VALUES (1, 'a note');\n";
            std::string message;
            return testenv::demoSql(script, &message) == 0 ? std::string() : "karvello-db sql: " + message;
        }();
        return error;
    }

    void SetUp() override
    {
        ASSERT_EQ(provisioningError(), "");
        DemoWindow::SetUp();
    }

    StringGrid &grid() { return *window->sgData; }
    std::string cell(int col, int row) { return grid().Cells(col, row).toStdString(); }
    std::vector<std::string> gridRow(int row)
    {
        std::vector<std::string> cells;
        for (int col = 1; col < grid().ColCount(); ++col)
            cells.push_back(cell(col, row));
        return cells;
    }
    void exportMode() { window->rgMode->setItemIndex(1); }
};

using Strings = std::vector<std::string>;

TEST_F(Previews, TableColumnsAndTypesInTableOrder)
{
    ASSERT_TRUE(PreviewTable(*window, "STAFF"));
    EXPECT_TRUE(window->tableReady);
    EXPECT_EQ(window->tableColumnCount, 9);
    EXPECT_EQ(grid().ColCount(), 10);
    EXPECT_EQ(gridRow(0), (Strings{"STAFF_ID", "NAME", "ROLE", "GRADE", "MANAGER_ID", "HIRED", "SALARY", "BONUS",
                                   "SECTION_ID"}));
    EXPECT_EQ(gridRow(1), (Strings{"NUMBER(4)", "VARCHAR2(20)", "VARCHAR2(12)", "CHAR(2)", "NUMBER(4)", "DATE",
                                   "NUMBER(7,2)", "NUMBER(7,2)", "NUMBER(2)"}));
    // Import mode: no rows, no label.
    EXPECT_EQ(cell(0, 2), "");
    EXPECT_EQ(window->statusText(4), QString());

    ASSERT_TRUE(PreviewTable(*window, "ODD_TYPES"));
    EXPECT_EQ(gridRow(1), (Strings{"NUMBER(4)", "LONG(0)", "???", "NUMBER", "NUMBER(10,2)"}));
}

TEST_F(Previews, ExportShowsTheFirstRowsWithDatesAsTheExportWritesThem)
{
    struct Case {
        bool time;
        int row;
        Strings values;
    };
    const Case cases[] = {
        {false, 2, {"7001", "Aino Virtanen", "DIRECTOR", "A1", "", "2012-03-01", "9200", "", "10"}},
        {true, 6, {"7005", "Elina Koski", "ANALYST", "C1", "7002", "2016-02-01 09:30:00", "4300", "", "20"}},
        {true, 15, {"7014", "Naomi Ito", "CLERK", "D2", "7002", "2023-12-04 13:15:00", "1950.75", "", "20"}},
    };
    exportMode();
    for (const Case &c : cases) {
        window->cbTime->setChecked(c.time);
        ASSERT_TRUE(PreviewTable(*window, "STAFF"));
        EXPECT_EQ(gridRow(c.row), c.values) << "row " << c.row;
        EXPECT_EQ(cell(0, c.row), QByteArray::number(c.row - 1).rightJustified(3, '0').toStdString());
    }
    // Fourteen rows: the rows below stay empty.
    EXPECT_EQ(cell(0, 16), "");
    EXPECT_EQ(window->statusText(4), QStringLiteral("Table Data Preview"));
    EXPECT_FALSE(window->busy);
}

TEST_F(Previews, ThirtyRowsAtMost)
{
    exportMode();
    ASSERT_TRUE(PreviewTable(*window, "MANY_ROWS"));
    EXPECT_EQ(cell(0, 31), "030");
    EXPECT_EQ(cell(1, 31), "30");
    EXPECT_EQ(grid().RowCount(), 32);
}

TEST_F(Previews, AViewForcesExportAndATableFreesTheModeAgain)
{
    ObjKind = QStringLiteral("VIEW");
    ASSERT_TRUE(PreviewTable(*window, "SALES_STAFF"));
    EXPECT_EQ(window->rgMode->ItemIndex(), 1);
    EXPECT_FALSE(window->rgMode->isEnabled());
    EXPECT_EQ(gridRow(0), (Strings{"STAFF_ID", "NAME", "ROLE", "HIRED", "SALARY", "BONUS"}));
    EXPECT_EQ(cell(2, 2), "Keiko Mori");

    ObjKind = QStringLiteral("TABLE");
    ASSERT_TRUE(PreviewTable(*window, "STAFF"));
    EXPECT_TRUE(window->rgMode->isEnabled());
    EXPECT_EQ(window->rgMode->ItemIndex(), 1);
}

TEST_F(Previews, AMissingTableLeavesTwoEmptyColumnsWithoutAWord)
{
    ASSERT_TRUE(PreviewTable(*window, "STAFF"));
    grid().setCells(1, 2, "left over");
    for (const char *name : {"NO_SUCH_TABLE", "STAFF' OR 'X'='X"}) {
        EXPECT_FALSE(PreviewTable(*window, name)) << name;
        EXPECT_FALSE(window->tableReady);
        EXPECT_EQ(window->tableColumnCount, 0);
        EXPECT_EQ(grid().ColCount(), 2);
        EXPECT_EQ(cell(1, 0), "");
        EXPECT_EQ(cell(1, 2), "");
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Previews, AColumnTheCursorCannotFetchShowsHeadersButNoRows)
{
    exportMode();
    EXPECT_TRUE(PreviewTable(*window, "ODD_TYPES"));
    EXPECT_TRUE(window->tableReady);
    EXPECT_EQ(cell(1, 0), "ID");
    EXPECT_EQ(cell(0, 2), "");
    EXPECT_EQ(cell(1, 2), "");
    EXPECT_FALSE(window->busy);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Previews, TheColumnLimitAllowsExactlyAThousand)
{
    std::vector<ColumnClass> classes{ColumnClass::Long};
    grid().setColCount(kColumnLimit + 1);
    grid().setCells(kColumnLimit, 1, "DATE");
    ASSERT_TRUE(ClassifyColumns(*window, classes, kColumnLimit));
    ASSERT_EQ(classes.size(), size_t(kColumnLimit));
    EXPECT_EQ(classes.back(), ColumnClass::Date);
    EXPECT_EQ(classes.front(), ColumnClass::Other);

    grid().setColCount(kColumnLimit + 2);
    classes = {ColumnClass::Long};
    EXPECT_FALSE(ClassifyColumns(*window, classes, kColumnLimit));
    EXPECT_EQ(classes, std::vector<ColumnClass>{ColumnClass::Long});

    boxes.expect(QStringLiteral("項目数が1000を越えるテーブルはエクスポートできません。"), MsgIcon::Error, MsgButtons::Ok,
                 MsgResult::Ok);
    EXPECT_FALSE(PreviewTableRows(*window, "STAFF"));
    EXPECT_FALSE(window->busy);
}

TEST_F(Previews, NothingIsPreviewedWhileATransferRuns)
{
    ASSERT_TRUE(PreviewTable(*window, "STAFF"));
    window->busy = true;
    EXPECT_FALSE(PreviewTable(*window, "SECTIONS"));
    EXPECT_FALSE(PreviewTableRows(*window, "STAFF"));
    EXPECT_FALSE(PreviewCsv(*window, QString::fromStdString(testenv::demoSamplesDir() + "/products_utf8.csv")));
    EXPECT_TRUE(window->tableReady);
    EXPECT_EQ(cell(1, 0), "STAFF_ID");
    EXPECT_EQ(cell(0, 2), "");
    window->busy = false;
}

// --- CSV preview -----------------------------------------------------------------------------

class CsvPreview : public Previews {
protected:
    QString write(const std::string &name, const std::string &bytes)
    {
        const std::string path = testenv::makeTempDir("csv") + "/" + name;
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return QString::fromStdString(path);
    }
    static std::string readAll(const std::string &path)
    {
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        return file.readAll().toStdString();
    }
};

// Line 32 is the widest that counts; line 33 is wider but never read.
TEST_F(CsvPreview, FortyLinesShowThirtyAndCountFieldsOfThirtyTwo)
{
    std::string bytes;
    for (int n = 1; n <= 40; ++n) {
        const int fields = n == 32 ? 7 : n == 33 ? 9 : 3;
        for (int f = 1; f <= fields; ++f)
            bytes += (f > 1 ? "," : "") + std::to_string(n) + "." + std::to_string(f);
        bytes += "\r\n";
    }
    ASSERT_TRUE(PreviewCsv(*window, write("forty.csv", bytes)));
    EXPECT_TRUE(window->csvReady);
    EXPECT_EQ(window->csvColumnCount, 7);
    EXPECT_EQ(window->statusText(4), QStringLiteral("CSV Data Preview"));
    EXPECT_EQ(gridRow(2), (Strings{"1.1", "1.2", "1.3", "", ""}));
    EXPECT_EQ(cell(0, 31), "030");
    EXPECT_EQ(cell(1, 31), "30.1");
}

TEST_F(CsvPreview, AWideLineShowsWhatFitsAndCountsAll)
{
    ASSERT_EQ(grid().ColCount(), 6);
    ASSERT_TRUE(PreviewCsv(*window, write("wide.csv", "a,b,c,d,e,f,g,h\n")));
    EXPECT_EQ(gridRow(2), (Strings{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(window->csvColumnCount, 8);
}

TEST_F(CsvPreview, AShorterLineLeavesTheCellsRightOfIt)
{
    ASSERT_TRUE(PreviewCsv(*window, write("long.csv", "a,b,c\n")));
    ASSERT_TRUE(PreviewCsv(*window, write("short.csv", "x\n")));
    EXPECT_EQ(gridRow(2), (Strings{"x", "b", "c", "", ""}));
    EXPECT_EQ(window->csvColumnCount, 1);
}

// The grid keeps each field's bytes whatever the file's character set.
TEST_F(CsvPreview, SampleFilesKeepTheirBytes)
{
    const std::string dir = testenv::demoSamplesDir();
    const std::string sjis = readAll(dir + "/products_sjis.csv");
    const std::string firstLine = sjis.substr(0, sjis.find("\r\n"));
    ASSERT_TRUE(PreviewCsv(*window, QString::fromStdString(dir + "/products_sjis.csv")));
    EXPECT_EQ(cell(2, 2), firstLine.substr(7, firstLine.find(",1200") - 7));
    EXPECT_EQ(cell(5, 5), "2024-10-10 00:00:00");
    EXPECT_EQ(window->csvColumnCount, 5);

    ASSERT_TRUE(PreviewCsv(*window, QString::fromStdString(dir + "/products_utf8.csv")));
    EXPECT_EQ(cell(2, 3), "ほうじ茶, 徳用");
    EXPECT_EQ(cell(3, 3), "520.5");
}

TEST_F(CsvPreview, SeparatorAndQuoteComeFromTheFieldsEvenInExportMode)
{
    struct Case {
        const char *sep, *quote;
        char sepChar, quoteChar;
    };
    const Case cases[] = {
        {",", "\"", ',', '"'},
        {";", "'", ';', '\''},
        {"", "", ',', '\0'},
    };
    exportMode();
    for (const Case &c : cases) {
        window->edSep->setText(QString::fromLatin1(c.sep));
        window->edDelim->setText(QString::fromLatin1(c.quote));
        window->csvReady = true;
        EXPECT_TRUE(PreviewCsv(*window, QStringLiteral("/no/such/file.csv")));
        EXPECT_FALSE(window->csvReady);
        EXPECT_EQ(window->sepChar, c.sepChar);
        EXPECT_EQ(window->quoteChar, c.quoteChar);
    }
}

TEST_F(CsvPreview, ABareNameIsReadFromTheProgramFolder)
{
    const QString name = QStringLiteral("preview-bare-%1.csv").arg(QCoreApplication::applicationPid());
    QFile file(platform::programFolder() + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("p;q\n");
    file.close();
    window->edSep->setText(QStringLiteral(";"));
    const bool read = PreviewCsv(*window, name);
    file.remove();
    ASSERT_TRUE(read);
    EXPECT_EQ(gridRow(2), (Strings{"p", "q", "", "", ""}));
}

TEST_F(CsvPreview, AFileThatCannotBeReadLeavesItUnready)
{
    const QString folder = QString::fromStdString(testenv::makeTempDir("unreadable"));
    for (const QString &path : {QString(), folder + QStringLiteral("/missing.csv"), folder}) {
        window->csvReady = true;
        EXPECT_FALSE(PreviewCsv(*window, path)) << path.toStdString();
        EXPECT_FALSE(window->csvReady);
        EXPECT_EQ(window->statusText(4), QString());
    }
    EXPECT_TRUE(boxes.shown().empty());
}

} // namespace
