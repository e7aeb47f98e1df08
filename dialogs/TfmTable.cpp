#include "dialogs/TfmTable.h"

#include "app/Globals.h"
#include "app/KeyPreview.h"
#include "app/TfmMain.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "platform/Forms.h"
#include "platform/WaitCursor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

std::function<int(TfmTable &)> TfmTable::execHook;

namespace {

constexpr char kEsc = 27;

// The form was designed at 298 x 416 pixels and at least 298 x 118, frame and
// caption included; these are the client sizes inside that frame, which the
// control positions are measured in.
constexpr int kClientWidth = 290;
constexpr int kClientHeight = 389;
constexpr int kMinClientHeight = 91;

// The list keeps its distance from all four edges, the buttons theirs from
// the bottom (and OK from the left, Cancel from the right).
constexpr int kListLeft = 2;
constexpr int kListTop = 30;
constexpr int kListRightGap = kClientWidth - (2 + 286);
constexpr int kListBottomGap = kClientHeight - (30 + 316);
constexpr int kButtonBottomGap = kClientHeight - 356;
constexpr int kCancelRightGap = kClientWidth - 210;

const QLatin1String kTable("TABLE");
const QLatin1String kView("VIEW");

} // namespace

TfmTable::TfmTable(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Table"));
    setFont(platform::formFont());

    // Created in tab order: the focus chain starts where the window's focus
    // goes when it opens, at the list.
    lbTable = new QListWidget(this);
    lbTable->setUniformItemSizes(true);
    lbTable->setStyleSheet(QStringLiteral("QListWidget::item { height: 12px; padding: 0px; }"));
    pbOk = new QPushButton(QStringLiteral("OK(&O)"), this);
    pbCancel = new QPushButton(QStringLiteral("Cancel(&C)"), this);
    // Neither button is the default one.
    for (QPushButton *button : {pbOk, pbCancel}) {
        button->resize(75, 25);
        button->setAutoDefault(false);
    }
    rbTable = new QRadioButton(QStringLiteral("&TABLE"), this);
    rbTable->setGeometry(23, 5, 75, 17);
    rbTable->setChecked(true);
    rbView = new QRadioButton(QStringLiteral("&VIEW"), this);
    rbView->setGeometry(156, 6, 75, 17);
    const std::pair<QWidget *, const char *> names[] = {
        {rbTable, "rbTable"}, {rbView, "rbView"}, {lbTable, "lbTable"}, {pbOk, "pbOk"}, {pbCancel, "pbCancel"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));

    resize(kClientWidth, kClientHeight);
    setMinimumSize(kClientWidth, kMinClientHeight);

    // Checking a button that was not checked is its click, whether the person
    // or the showing checked it.
    connect(rbTable, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbTableClick();
    });
    connect(rbView, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbViewClick();
    });
    connect(lbTable, &QListWidget::itemDoubleClicked, this, &TfmTable::lbTableDblClick);
    connect(pbOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pbCancel, &QPushButton::clicked, this, &QDialog::reject);
    qApp->installEventFilter(this);
}

int TfmTable::run()
{
    if (execHook)
        return execHook(*this);
    return exec();
}

std::optional<QByteArray> TfmTable::selectedName() const
{
    const QList<QListWidgetItem *> selected = lbTable->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.front()->data(Qt::UserRole).toByteArray();
}

// --- Showing and the kind of object ------------------------------------------------

void TfmTable::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfmTable::FormShow()
{
    if (ObjKind == kTable)
        rbTable->setChecked(true);
    else
        rbView->setChecked(true);
    postRefill();
}

void TfmTable::rbTableClick()
{
    ObjKind = kTable;
    postRefill();
}

void TfmTable::rbViewClick()
{
    ObjKind = kView;
    postRefill();
}

// The list is filled from the queue, so that the dialog is on the screen
// first.
void TfmTable::postRefill()
{
    QMetaObject::invokeMethod(this, &TfmTable::RefillList, Qt::QueuedConnection);
}

// --- Filling the list ------------------------------------------------------------

void TfmTable::RefillList()
{
    // A request handled between two names of a filling runs after it: two
    // fillings at once would fetch from the one cursor in turn.
    if (m_filling) {
        m_refillPending = true;
        return;
    }
    m_filling = true;
    do {
        m_refillPending = false;
        fill();
    } while (m_refillPending && !m_pendingResult);
    m_refillPending = false;
    m_filling = false;
    if (m_pendingResult) {
        const int result = *m_pendingResult;
        m_pendingResult.reset();
        QDialog::done(result);
    }
}

void TfmTable::fill()
{
    StopFill = false;
    repaint();
    lbTable->clear();
    TfmMain *main = fmMain;
    // The main window's cursor is the mapping's source during a transfer.
    if (!main || main->busy || !main->OCI->connected())
        return;

    TOCIcur &cursor = *main->OCIcur;
    const std::string kind = ObjKind.toStdString();
    cursor.SQL = "select " + kind + "_name from user_" + kind + "s";
    if (cursor.Execute()) {
        platform::WaitCursor wait;
        while (cursor.Fetch()) {
            if (!cursor.Row().empty()) {
                const QByteArray name = QByteArray::fromStdString(cursor.Row().front());
                auto *item = new QListWidgetItem(QString::fromLocal8Bit(name), lbTable);
                item->setData(Qt::UserRole, name);
            }
            QCoreApplication::processEvents();
            if (StopFill)
                break;
        }
    }
    selectTableName();
}

void TfmTable::selectTableName()
{
    const QByteArray wanted = TableName.toLocal8Bit();
    int last = -1;
    for (int row = 0; row < lbTable->count(); ++row)
        if (lbTable->item(row)->data(Qt::UserRole).toByteArray() == wanted)
            last = row;
    if (last >= 0)
        lbTable->setCurrentRow(last);
}

// --- Closing and keys ----------------------------------------------------------------

void TfmTable::lbTableDblClick()
{
    accept();
}

void TfmTable::done(int result)
{
    if (m_filling) {
        m_pendingResult = result;
        return;
    }
    QDialog::done(result);
}

void TfmTable::FormKeyPress(char &key)
{
    if (key == kEsc)
        StopFill = true;
}

// Neither Enter nor ESC closes the dialog: only its buttons do, Enter
// included while one of them has the focus.
void TfmTable::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

// Key preview: the dialog sees each key before the control it is meant for.
bool TfmTable::eventFilter(QObject *watched, QEvent *event)
{
    const QKeyEvent *keyEvent = previewedKeyPress(this, watched, event);
    if (keyEvent && keyEvent->key() == Qt::Key_Escape) {
        char key = kEsc;
        FormKeyPress(key);
    }
    return false;
}

void TfmTable::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    lbTable->setGeometry(kListLeft, kListTop, width() - kListLeft - kListRightGap,
                         height() - kListTop - kListBottomGap);
    pbOk->move(6, height() - kButtonBottomGap);
    pbCancel->move(width() - kCancelRightGap, height() - kButtonBottomGap);
}
