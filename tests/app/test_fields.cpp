// The main window's table and CSV fields, browse buttons, column dragging,
// Count and ReConnect, on the demo schema of the embedded engine.
#include "app/RadioGroup.h"
#include "app/StringGrid.h"
#include "dialogs/TfmTable.h"
#include "oracle/TOCIcur.h"
#include "support/DemoWindow.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>

namespace {

constexpr char kEnter = 13;

class Fields : public DemoWindow {
protected:
    void SetUp() override
    {
        DemoWindow::SetUp();
        chooser = std::make_unique<TfmTable>();
        fmTable = chooser.get();
    }
    void TearDown() override
    {
        TfmTable::execHook = nullptr;
        fmTable = nullptr;
        DemoWindow::TearDown();
    }

    // Whether `action` sent a query through the window's cursor.
    bool queries(const std::function<void()> &action)
    {
        window->OCIcur->SQL.clear();
        action();
        return !window->OCIcur->SQL.empty();
    }

    QString csvFile(const std::string &bytes)
    {
        const QString path = QString::fromStdString(testenv::makeTempDir("fields") + "/data.csv");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }

    // Names `table` in the field and presses Enter there.
    void enterTable(const QString &table)
    {
        window->edTable->setText(table);
        char key = kEnter;
        window->edTableKeyPress(key);
    }

    std::string cell(int col, int row) { return window->sgData->Cells(col, row).toStdString(); }
    void exportMode() { window->rgMode->setItemIndex(1); }

    std::unique_ptr<TfmTable> chooser;
};

// --- Table field -------------------------------------------------------------------

TEST_F(Fields, LeavingTheTableFieldPreviewsOnlyWhatIsNotShownYet)
{
    TfmMain &w = *window;
    w.edTable->setText(QStringLiteral("STAFF"));
    w.edTableEnter();
    EXPECT_TRUE(queries([&] { w.edTableExit(); })) << "nothing previewed yet";
    ASSERT_TRUE(w.tableReady);
    EXPECT_FALSE(queries([&] { w.edTableExit(); })) << "unchanged after a preview";

    w.edTable->setText(QStringLiteral("NO_SUCH"));
    EXPECT_TRUE(queries([&] { w.edTableExit(); })) << "changed";
    EXPECT_EQ(w.lastTable, QStringLiteral("NO_SUCH"));
    EXPECT_TRUE(queries([&] { w.edTableExit(); })) << "unchanged after a failed preview";

    char key = 'A';
    EXPECT_FALSE(queries([&] { w.edTableKeyPress(key); }));
    key = kEnter;
    EXPECT_TRUE(queries([&] { w.edTableKeyPress(key); }));
}

TEST_F(Fields, TypingIntoAPreviewedTableDropsItsColumns)
{
    exportMode();
    enterTable(QStringLiteral("STAFF"));
    ASSERT_TRUE(window->tableReady);
    ASSERT_EQ(cell(0, 2), "001");

    window->edTable->setText(QStringLiteral("STAFFX"));
    EXPECT_FALSE(window->tableReady);
    EXPECT_EQ(window->sgData->ColCount(), 2);
    EXPECT_EQ(cell(0, 2), "");
    EXPECT_EQ(cell(1, 0), "");
    EXPECT_EQ(window->statusText(4), QString());
}

// --- CSV field ---------------------------------------------------------------------

TEST_F(Fields, LeavingAnUnchangedCsvFieldNeverReadsItAgainButEnterDoes)
{
    TfmMain &w = *window;
    const QString path = QString::fromStdString(testenv::makeTempDir("later") + "/later.csv");
    w.edCSV->setText(path);
    w.edCSVExit();
    EXPECT_FALSE(w.csvReady) << "no file yet";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a;b\n");
    file.close();
    w.edCSVExit();
    EXPECT_FALSE(w.csvReady) << "unchanged: not read again";

    w.edSep->setText(QStringLiteral(";"));
    char key = kEnter;
    w.edSepKeyPress(key);
    EXPECT_TRUE(w.csvReady);
    EXPECT_EQ(w.sepChar, ';');
    EXPECT_EQ(cell(2, 2), "b");
}

TEST_F(Fields, ANewCsvNameClearsAnImportPreviewButNotTheTableRowsOfAnExport)
{
    const struct {
        int mode;
        const char *rowLabelAfter;
    } cases[] = {{0, ""}, {1, "001"}};
    for (const auto &c : cases) {
        window->rgMode->setItemIndex(c.mode);
        window->sgData->setCells(0, 2, "001");
        window->csvReady = true;
        window->edCSV->setText(window->edCSV->text() + QStringLiteral("x"));
        EXPECT_FALSE(window->csvReady);
        EXPECT_EQ(cell(0, 2), c.rowLabelAfter) << "mode " << c.mode;
    }
}

// Focus moving within the window runs the enter and exit handlers; focus
// taken by another window, a box or a popup does not. Enter in the four
// fields runs their key handlers.
TEST_F(Fields, FocusAndEnterReachTheHandlers)
{
    struct Case {
        QEvent::Type type;
        Qt::FocusReason reason;
        bool previews;
    };
    const Case cases[] = {
        {QEvent::FocusOut, Qt::TabFocusReason, true},
        {QEvent::FocusOut, Qt::MouseFocusReason, true},
        {QEvent::FocusOut, Qt::ActiveWindowFocusReason, false},
        {QEvent::FocusOut, Qt::PopupFocusReason, false},
        {QEvent::KeyPress, Qt::OtherFocusReason, true},
    };
    window->edTable->setText(QStringLiteral("NO_SUCH"));
    for (const Case &c : cases) {
        const bool ran = queries([&] {
            if (c.type == QEvent::KeyPress) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
                QCoreApplication::sendEvent(window->edTable, &press);
            } else {
                QFocusEvent focus(c.type, c.reason);
                QCoreApplication::sendEvent(window->edTable, &focus);
            }
        });
        EXPECT_EQ(ran, c.previews) << "reason " << c.reason;
    }

    window->lastTable.clear();
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(window->edTable, &in);
    EXPECT_EQ(window->lastTable, QStringLiteral("NO_SUCH"));

    const QString path = csvFile("1|2\n");
    window->edCSV->setText(path);
    for (QLineEdit *field : {window->edDelim, window->edCSV}) {
        window->edSep->setText(field == window->edDelim ? QStringLiteral("|") : QStringLiteral(","));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(field, &press);
        EXPECT_EQ(window->lastCsv, path);
        EXPECT_EQ(window->csvColumnCount, field == window->edDelim ? 2 : 1) << field->objectName().toStdString();
    }
}

// --- Browse buttons ------------------------------------------------------------------

TEST_F(Fields, TheChooserPutsThePickedNameInTheFieldAndPreviewsIt)
{
    struct Case {
        int answer;         // QDialog::Accepted or Rejected
        const char *select; // entry to select, or nullptr
        const char *field;  // edTable afterwards
    };
    const Case cases[] = {
        {QDialog::Rejected, "STAFF", "SECTIONS"},
        {QDialog::Accepted, nullptr, "SECTIONS"},
        {QDialog::Accepted, "STAFF", "STAFF"},
    };
    for (const Case &c : cases) {
        window->edTable->setText(QStringLiteral("SECTIONS"));
        window->lastTable = QStringLiteral("before");
        QString offered;
        TfmTable::execHook = [&](TfmTable &dialog) {
            offered = dialog.TableName;
            dialog.show();
            QCoreApplication::processEvents();
            dialog.lbTable->clearSelection();
            for (QListWidgetItem *item : dialog.lbTable->findItems(QLatin1String(c.select ? c.select : "-"), Qt::MatchExactly))
                item->setSelected(true);
            dialog.hide();
            return c.answer;
        };
        window->pbTable->click();
        EXPECT_EQ(offered, QStringLiteral("SECTIONS"));
        EXPECT_EQ(window->edTable->text(), QLatin1String(c.field));
        EXPECT_EQ(window->tableReady, c.answer == QDialog::Accepted && c.select);
        EXPECT_EQ(window->lastTable, QStringLiteral("before"));
    }
    EXPECT_EQ(cell(1, 0), "STAFF_ID");
}

TEST_F(Fields, TheCsvDialogsProposeTheTableNameAndShareTheirFolder)
{
    const QString dirA = QString::fromStdString(testenv::makeTempDir("a"));
    const QString dirB = QString::fromStdString(testenv::makeTempDir("b"));
    QFile file(dirA + QStringLiteral("/staff.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,2,3\n");
    file.close();

    ScriptedFileDialogs dialogs;
    window->edTable->setText(QStringLiteral("STAFF"));
    window->sgData->setCells(0, 3, "old");
    dialogs.answer(dirA + QStringLiteral("/staff.csv"));
    window->pbCSV->click(); // Import: the open dialog, then the CSV preview
    EXPECT_EQ(cell(0, 3), "");
    EXPECT_EQ(window->edCSV->text(), dirA + QStringLiteral("/staff.csv"));
    EXPECT_TRUE(window->csvReady);
    EXPECT_EQ(cell(3, 2), "3");
    EXPECT_EQ(window->lastCsv, QString());

    exportMode();
    dialogs.answer(dirB + QStringLiteral("/out"));
    window->pbCSV->click(); // Export: the save dialog, no preview
    EXPECT_EQ(window->edCSV->text(), dirB + QStringLiteral("/out.csv"));
    EXPECT_FALSE(window->csvReady);

    window->rgMode->setItemIndex(0);
    dialogs.cancel();
    window->pbCSV->click();
    EXPECT_EQ(window->edCSV->text(), dirB + QStringLiteral("/out.csv"));

    using Kind = ScriptedFileDialogs::Request::Kind;
    const auto &requests = dialogs.requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::tuple<Kind, QString> expected[] = {
        {Kind::Open, QString()}, {Kind::Save, dirA + QStringLiteral("/")}, {Kind::Open, dirB + QStringLiteral("/")}};
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].kind, std::get<0>(expected[i])) << i;
        EXPECT_EQ(requests[i].request.fileName, QStringLiteral("STAFF.csv")) << i;
        EXPECT_EQ(requests[i].request.initialDir, std::get<1>(expected[i])) << i;
    }
}

// --- The grid as mapping -----------------------------------------------------------------

TEST_F(Fields, DraggingTheThirdColumnFirstMovesTheWholeColumn)
{
    exportMode();
    enterTable(QStringLiteral("STAFF"));
    ASSERT_TRUE(window->tableReady);
    window->sgData->selectRow(3 - StringGrid::FixedRows);
    window->sgData->MoveColumn(3, 1);

    // Grid columns 1 to 3 after the drag: name, type and first row.
    const std::vector<std::vector<std::string>> columns{
        {"ROLE", "VARCHAR2(12)", "DIRECTOR"},
        {"STAFF_ID", "NUMBER(4)", "7001"},
        {"NAME", "VARCHAR2(20)", "Aino Virtanen"},
    };
    for (int col = 1; col <= 3; ++col)
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(cell(col, row), columns[size_t(col - 1)][size_t(row)]) << col << "," << row;
    const GridRect selection = window->sgData->Selection();
    EXPECT_EQ(selection.Left, 1);
    EXPECT_EQ(selection.Right, 9);
    EXPECT_EQ(selection.Top, 3);
    EXPECT_EQ(selection.Bottom, 3);
}

// --- Count and ReConnect -------------------------------------------------------------------

TEST_F(Fields, CountShowsTheRowsOfThePreviewedTable)
{
    window->edTable->setText(QStringLiteral("STAFF"));
    window->pbCount->click(); // nothing previewed: nothing happens
    EXPECT_TRUE(boxes.shown().empty());

    enterTable(QStringLiteral("STAFF"));
    boxes.expect(QStringLiteral("テーブル [STAFF] には\n14件\nのデータがあります。"), MsgIcon::Information,
                 MsgButtons::Ok, MsgResult::Ok);
    window->pbCount->click();

    ASSERT_TRUE(window->OCIcur->ExecuteSQL("CREATE TABLE GONE (X NUMBER)"));
    enterTable(QStringLiteral("GONE"));
    ASSERT_TRUE(window->OCIcur->ExecuteSQL("DROP TABLE GONE"));
    boxes.expectContaining(QStringLiteral("ORA-00942"), MsgIcon::Warning, MsgButtons::Ok, MsgResult::Ok);
    window->pbCount->click();
}

TEST_F(Fields, ReConnectStartsANewSessionWithEmptyFields)
{
    window->edTable->setText(QStringLiteral("STAFF"));
    window->edCSV->setText(QStringLiteral("/tmp/x.csv"));
    login.accept(QStringLiteral("demo"), QStringLiteral("demo"));
    window->pbConnect->click();
    EXPECT_EQ(login.password, QString()) << "the dialog asks for the password again";
    EXPECT_TRUE(window->OCI->connected());
    EXPECT_EQ(window->edTable->text(), QString());
    EXPECT_EQ(window->edCSV->text(), QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Karvello+  [demo @ ]"));
}

TEST_F(Fields, AFailedReConnectKeepsOrEndsTheWindowsSession)
{
    struct Case {
        bool loggedOnBefore;
        const char *password; // nullptr: the dialog is cancelled
        bool connectedAfter;
        const char *fieldAfter;
        const char *title;
    };
    const Case cases[] = {
        {true, nullptr, true, "STAFF", "Karvello+  [demo @ ]"},
        {false, nullptr, false, "", "Karvello+ "},
        {true, "wrong", false, "", "Karvello+ "},
    };
    for (const Case &c : cases) {
        if (!window->OCI->connected()) {
            login.accept(QStringLiteral("demo"), QStringLiteral("demo"));
            window->pbConnect->click();
        }
        if (!c.loggedOnBefore)
            window->OCI->DisConnect();
        window->edTable->setText(QStringLiteral("STAFF"));
        if (c.password) {
            login.accept(QStringLiteral("demo"), QLatin1String(c.password));
            boxes.expectContaining(QStringLiteral("ORA-01017"), MsgIcon::Error, MsgButtons::Ok, MsgResult::Ok);
        } else {
            login.cancel();
        }
        window->pbConnect->click();
        EXPECT_EQ(window->OCI->connected(), c.connectedAfter);
        EXPECT_EQ(window->edTable->text(), QLatin1String(c.fieldAfter));
        EXPECT_EQ(window->edTable->isEnabled(), c.connectedAfter);
        EXPECT_EQ(window->windowTitle(), QLatin1String(c.title));
        // The logon values of before, the password included, are back.
        EXPECT_EQ(window->OCI->UserID, QStringLiteral("demo"));
        EXPECT_EQ(window->OCI->Password, QStringLiteral("demo"));
    }
    EXPECT_TRUE(boxes.shown().back().systemModal);
}

TEST_F(Fields, NothingReachesTheDatabaseOrTheGridWhileATransferRuns)
{
    ScriptedFileDialogs dialogs; // fails the test if a dialog is asked for
    TfmTable::execHook = [](TfmTable &) {
        ADD_FAILURE() << "chooser shown";
        return int(QDialog::Rejected);
    };
    enterTable(QStringLiteral("STAFF"));
    ASSERT_TRUE(window->tableReady);
    const int logins = login.calls;
    window->busy = true;
    for (QPushButton *button : {window->pbCount, window->pbConnect, window->pbTable, window->pbCSV})
        EXPECT_FALSE(queries([&] { button->click(); })) << button->objectName().toStdString();
    window->edTable->setText(QStringLiteral("SECTIONS"));
    EXPECT_FALSE(window->tableReady);
    EXPECT_EQ(cell(1, 0), "STAFF_ID") << "the mapping stays while the run uses it";
    window->busy = false;
    EXPECT_EQ(login.calls, logins);
    EXPECT_TRUE(boxes.shown().empty());
}

} // namespace
