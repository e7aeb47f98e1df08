// The main window's table and CSV fields, their browse buttons and the
// dialogs' shared folder, and the meaning of dragging a grid column. They
// keep the grid and tableReady, csvReady, lastTable and lastCsv in step with
// what the two fields name.
#include "app/Globals.h"
#include "app/RadioGroup.h"
#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "dialogs/TfmTable.h"
#include "platform/Paths.h"
#include "transfer/Preview.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr char kEnter = 13;
constexpr int kImportMode = 0;

// Focus changes within the window, and the Enter key, of the four fields.
// The focus leaving for a message box, a dialog, another window or a popup
// menu is no leaving of the field.
class FieldEvents : public QObject {
public:
    explicit FieldEvents(TfmMain *main)
        : QObject(main)
        , m_main(main)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (withinWindow(static_cast<QFocusEvent *>(event)->reason()))
                focusChanged(watched, event->type() == QEvent::FocusIn);
            break;
        case QEvent::KeyPress:
            if (isEnter(static_cast<QKeyEvent *>(event)))
                enterPressed(watched);
            break;
        default:
            break;
        }
        return false; // the field still gets every event
    }

private:
    static bool withinWindow(Qt::FocusReason reason)
    {
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
               && reason != Qt::MenuBarFocusReason;
    }

    static bool isEnter(const QKeyEvent *event)
    {
        return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    }

    void focusChanged(QObject *field, bool entering)
    {
        if (field == m_main->edTable)
            entering ? m_main->edTableEnter() : m_main->edTableExit();
        else if (field == m_main->edCSV)
            entering ? m_main->edCSVEnter() : m_main->edCSVExit();
    }

    void enterPressed(QObject *field)
    {
        char key = kEnter;
        if (field == m_main->edTable)
            m_main->edTableKeyPress(key);
        else if (field == m_main->edCSV)
            m_main->edCSVKeyPress(key);
        else if (field == m_main->edSep)
            m_main->edSepKeyPress(key);
        else if (field == m_main->edDelim)
            m_main->edDelimKeyPress(key);
    }

    TfmMain *m_main;
};

} // namespace

void TfmMain::connectFieldHandlers()
{
    auto *events = new FieldEvents(this);
    for (QLineEdit *field : {edTable, edCSV, edSep, edDelim})
        field->installEventFilter(events);
    connect(edTable, &QLineEdit::textChanged, this, &TfmMain::edTableChange);
    connect(edCSV, &QLineEdit::textChanged, this, &TfmMain::edCSVChange);
    connect(pbTable, &QPushButton::clicked, this, &TfmMain::pbTableClick);
    connect(pbCSV, &QPushButton::clicked, this, &TfmMain::pbCSVClick);
    connect(pbCount, &QPushButton::clicked, this, &TfmMain::pbCountClick);
    connect(pbConnect, &QPushButton::clicked, this, &TfmMain::pbConnectClick);
    connect(sgData, &StringGrid::columnMoved, this, &TfmMain::sgDataColumnMoved);
    dlgOpen.canClose = [this](const QString &path) {
        bool canClose = true;
        dlgOpenCanClose(path, canClose);
        return canClose;
    };
    dlgSave.canClose = [this](const QString &path) {
        bool canClose = true;
        dlgSaveCanClose(path, canClose);
        return canClose;
    };
}

void TfmMain::previewTableField()
{
    PreviewTable(*this, edTable->text().toLocal8Bit().toStdString());
    lastTable = edTable->text();
}

void TfmMain::previewCsvField()
{
    PreviewCsv(*this, edCSV->text());
    lastCsv = edCSV->text();
}

// --- Table field ------------------------------------------------------------------

// The grid no longer shows the named table: at the first keystroke it drops
// the old columns.
void TfmMain::edTableChange()
{
    if (!tableReady)
        return;
    tableReady = false;
    if (busy)
        return;
    for (int col = 0; col < sgData->ColCount(); ++col)
        for (int row = 0; row < sgData->RowCount(); ++row)
            sgData->setCells(col, row, {});
    sgData->setColCount(2);
    setStatusText(4, QString());
}

void TfmMain::edTableEnter()
{
    lastTable = edTable->text();
}

// Leaving the field unchanged after a preview that found the table asks the
// database nothing; after one that did not, it asks again.
void TfmMain::edTableExit()
{
    if (edTable->text() != lastTable || !tableReady)
        previewTableField();
}

void TfmMain::edTableKeyPress(char &key)
{
    if (key == kEnter)
        previewTableField();
}

// --- CSV field ----------------------------------------------------------------------

// In Export mode the grid shows the table's rows, which a new file name does
// not touch.
void TfmMain::edCSVChange()
{
    if (!csvReady)
        return;
    if (rgMode->ItemIndex() == kImportMode && !busy)
        ClearPreview();
    csvReady = false;
}

void TfmMain::edCSVEnter()
{
    lastCsv = edCSV->text();
}

// Unlike the table field, an unchanged name is not read again even when the
// last read failed: Enter does that.
void TfmMain::edCSVExit()
{
    const QString text = edCSV->text();
    if (text == lastCsv)
        return;
    if (rgMode->ItemIndex() == kImportMode)
        PreviewCsv(*this, text);
    lastCsv = text;
}

// Enter reads the file again, with the separator and quote character the
// fields show now.
void TfmMain::edCSVKeyPress(char &key)
{
    if (key != kEnter || busy)
        return;
    ClearPreview();
    previewCsvField();
}

void TfmMain::edSepKeyPress(char &key)
{
    edCSVKeyPress(key);
}

void TfmMain::edDelimKeyPress(char &key)
{
    edCSVKeyPress(key);
}

// --- Browse buttons and the dialogs' folder -----------------------------------------

void TfmMain::pbTableClick()
{
    if (busy || !fmTable)
        return;
    fmTable->TableName = edTable->text();
    if (fmTable->run() != QDialog::Accepted)
        return;
    const std::optional<QByteArray> name = fmTable->selectedName();
    if (!name)
        return;
    edTable->setText(QString::fromLocal8Bit(*name));
    PreviewTable(*this, edTable->text().toLocal8Bit().toStdString());
}

// The dialog proposes the table's name as a CSV file, in the folder of the
// last file chosen in either dialog.
void TfmMain::pbCSVClick()
{
    if (busy)
        return;
    const QString table = edTable->text();
    const bool importing = rgMode->ItemIndex() == kImportMode;
    if (importing)
        ClearPreview();
    platform::FileDialogRequest &dialog = importing ? dlgOpen : dlgSave;
    if (!table.isEmpty())
        dialog.fileName = platform::changeExtension(table, QStringLiteral(".csv"));
    const std::optional<QString> path = platform::getFile(this, dialog);
    if (!path)
        return;
    edCSV->setText(*path);
    if (importing)
        PreviewCsv(*this, *path);
}

void TfmMain::dlgOpenCanClose(const QString &path, bool &canClose)
{
    dlgOpen.initialDir = platform::folderPart(path);
    dlgSave.initialDir = dlgOpen.initialDir;
    canClose = true;
}

void TfmMain::dlgSaveCanClose(const QString &path, bool &canClose)
{
    dlgSave.initialDir = platform::folderPart(path);
    dlgOpen.initialDir = dlgSave.initialDir;
    canClose = true;
}

// --- The grid as mapping ------------------------------------------------------------

// The drag itself moved the whole column (name, type and data cells); grid
// column i now stands for CSV field i.
void TfmMain::sgDataColumnMoved(int, int)
{
    const GridRect selection = sgData->Selection();
    if (selection.Top < 0)
        return;
    sgData->setSelection({1, selection.Top, sgData->ColCount() - 1, selection.Bottom});
}
