#include "app/TfmMain.h"

#include "app/Globals.h"
#include "app/KeyPreview.h"
#include "app/PanelAnchors.h"
#include "app/RadioGroup.h"
#include "app/StringGrid.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "platform/Forms.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Width the panels' control positions were designed for.
constexpr int kDesignWidth = 654;
constexpr char kEsc = 27;

// Limits what a person types to one character, but leaves longer text that
// the program puts into the field (a stored separator) whole.
class OneCharValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return input.size() <= 1 ? Acceptable : Invalid;
    }
};

// Every text the field gets, typed or set, shows in capitals.
void forceUpperCase(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

// An enabled field has the window colour, a disabled one the button face.
void setFieldEnabled(QWidget *field, bool enabled)
{
    field->setEnabled(enabled);
    QPalette palette = field->palette();
    const QPalette &system = QApplication::palette();
    palette.setColor(QPalette::Base, enabled ? system.color(QPalette::Base) : system.color(QPalette::Button));
    field->setPalette(palette);
}

template <typename Control>
Control *place(Control *control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    return control;
}

QFrame *makePanel(QWidget *parent, int height)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setFixedHeight(height);
    return panel;
}

// The check boxes were laid out for a font whose Latin letters are narrower
// than the gothic available here: tighten the gap after the box and let a
// caption that still does not fit take the few pixels it needs, so no caption
// is cut off.
void fitCaptions(std::initializer_list<QCheckBox *> boxes)
{
    for (QCheckBox *box : boxes) {
        box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
    }
}

platform::FileDialogRequest csvDialog(platform::FileDialogRequest::Kind kind)
{
    platform::FileDialogRequest request;
    request.kind = kind;
    request.fileName = QStringLiteral("*.csv");
    request.defaultExt = QStringLiteral(".csv");
    request.filter = QStringLiteral("CSVﾌｧｲﾙ(*.csv)|*.csv|全てのﾌｧｲﾙ(*.*)|*.*");
    return request;
}

} // namespace

// --- Construction ---------------------------------------------------------------

TfmMain::TfmMain(QWidget *parent)
    : QMainWindow(parent)
{
    createControls();
    initState();

    if (!OCI->Active()) {
        platform::showMessage(this, QStringLiteral("OCIが使用できません。"), platform::MsgIcon::Error,
                              platform::MsgButtons::Ok);
        m_startupAborted = true;
        return;
    }

    RegSettings(true, 3);
    dlgSave.initialDir = dlgOpen.initialDir;

    const bool loggedOn = OCI->Login();
    SetSessionControls(loggedOn);
    showSessionCaption(loggedOn);
    if (!loggedOn && !OCI->LastError.isEmpty())
        platform::showMessage(this, OCI->LastError, platform::MsgIcon::Error, platform::MsgButtons::Ok, true);

    rgModeClick();
    // The logon values of a successful login are kept at once, not only at a
    // clean close.
    if (OCI->connected())
        RegSettings(false, 1);
    sgData->setRowCount(32);
}

TfmMain::~TfmMain()
{
    // The library goes first, with the session still able to close its
    // cursors; the components are freed with the window afterwards.
    OCI->UnActive();
}

void TfmMain::createControls()
{
    setWindowTitle(QStringLiteral("Karvello+"));
    setFont(platform::formFont());
    resize(654, 352);
    setMinimumSize(654, 182);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    createTopPanel();
    createGrid();
    createBottomPanel();
    createStatusBar();
    layout->addWidget(Panel1);
    layout->addWidget(sgData, 1);
    layout->addWidget(Panel2);
    setTabOrders();
    nameControls();

    dlgOpen = csvDialog(platform::FileDialogRequest::Kind::Open);
    dlgSave = csvDialog(platform::FileDialogRequest::Kind::Save);

    OCI = new TOCIctrl(this);
    OCI->setObjectName(QStringLiteral("OCI"));
    OCIcur = new TOCIcur(this);
    OCIcur->setObjectName(QStringLiteral("OCIcur"));
    OCIcur->setOCIParent(OCI);

    connect(rgMode, &RadioGroup::itemIndexChanged, this, &TfmMain::rgModeClick);
    connect(cbAutoCmt, &QCheckBox::toggled, this, &TfmMain::cbAutoCmtClick);
    connect(pbExecute, &QPushButton::clicked, this, [this] { pbExecuteClick(pbExecute); });
    connect(pbEnd, &QPushButton::clicked, this, &TfmMain::pbEndClick);
    connect(pbJobList, &QPushButton::clicked, this, &TfmMain::pbJobListClick);
    connect(pbJobAdd, &QPushButton::clicked, this, &TfmMain::pbJobAddClick);
    connectFieldHandlers();
    qApp->installEventFilter(this);
}

void TfmMain::createTopPanel()
{
    Panel1 = makePanel(this, 81);
    auto *anchors = new PanelAnchors(Panel1, kDesignWidth);

    rgMode = place(new RadioGroup(QStringLiteral("Mode(&M)"), {QStringLiteral("Import"), QStringLiteral("Export")}, Panel1),
                   8, 6, 86, 59);
    rgMode->setItemIndex(0);

    edTable = place(new QLineEdit(Panel1), 150, 16, 160, 20);
    forceUpperCase(edTable);
    lbTable = platform::buddyLabel(Panel1, QStringLiteral("Table(&T)"), 100, 20, edTable);
    pbTable = place(new QPushButton(QStringLiteral("参照(&F)"), Panel1), 310, 16, 75, 20);
    pbCount = place(new QPushButton(QStringLiteral("Count"), Panel1), 392, 18, 44, 16);

    edCSV = place(new QLineEdit(Panel1), 150, 40, 160, 20);
    lbCSV = platform::buddyLabel(Panel1, QStringLiteral("CSV(&C)"), 100, 44, edCSV);
    pbCSV = place(new QPushButton(QStringLiteral("参照(&R)"), Panel1), 310, 40, 75, 20);

    pbJobList = place(new QPushButton(QStringLiteral("JobList(&J)"), Panel1), 470, 6, 75, 25);
    pbJobAdd = place(new QPushButton(QStringLiteral("JobAdd(&A)"), Panel1), 470, 36, 75, 25);
    pbConnect = place(new QPushButton(QStringLiteral("ReConnect(&L)"), Panel1), 554, 6, 80, 25);

    for (QLineEdit **edit : {&edSep, &edDelim}) {
        *edit = new QLineEdit(Panel1);
        (*edit)->setFont(platform::fixedFormFont());
        (*edit)->setValidator(new OneCharValidator(*edit));
        (*edit)->setTextMargins(0, 0, 0, 0);
    }
    place(edSep, 620, 36, 12, 20)->setText(QStringLiteral(","));
    place(edDelim, 620, 57, 12, 20)->setText(QStringLiteral("\""));
    lbSep = platform::buddyLabel(Panel1, QStringLiteral("区切り(&S)"), 554, 39, edSep);
    lbDelim = platform::buddyLabel(Panel1, QStringLiteral("文字列(&D)"), 556, 60, edDelim);

    anchors->stretch(edTable);
    anchors->stretch(edCSV);
    for (QWidget *control : {static_cast<QWidget *>(pbTable), static_cast<QWidget *>(pbCount),
                             static_cast<QWidget *>(pbCSV), static_cast<QWidget *>(pbJobList),
                             static_cast<QWidget *>(pbJobAdd), static_cast<QWidget *>(pbConnect),
                             static_cast<QWidget *>(lbSep), static_cast<QWidget *>(edSep),
                             static_cast<QWidget *>(lbDelim), static_cast<QWidget *>(edDelim)})
        anchors->anchorRight(control);
}

void TfmMain::createGrid()
{
    sgData = new StringGrid(this);
    sgData->setDefaultColWidth(92);
    sgData->setDefaultRowHeight(20);
    sgData->setColCount(6);
    sgData->setRowCount(32);
    sgData->setColWidths(0, 34);
}

void TfmMain::createBottomPanel()
{
    Panel2 = makePanel(this, 43);
    auto *anchors = new PanelAnchors(Panel2, kDesignWidth);

    pbExecute = place(new QPushButton(QStringLiteral("Execute(&X)"), Panel2), 14, 10, 75, 25);
    cbTime = place(new QCheckBox(QStringLiteral("時間も出力する(&O)"), Panel2), 107, 3, 124, 17);
    cbTime->setEnabled(false);
    cbHead = place(new QCheckBox(QStringLiteral("ヘッダー行あり(&H)"), Panel2), 226, 3, 116, 17);
    cbBreak = place(new QCheckBox(QStringLiteral("ESCで中断する(&B)"), Panel2), 342, 3, 113, 17);
    cbTruncate = place(new QCheckBox(QStringLiteral("Importする前にTruncateする(&Z)"), Panel2), 107, 23, 183, 17);
    cbTruncate->setChecked(true);
    cbTruncate->setEnabled(false);
    cbAutoCmt = place(new QCheckBox(QStringLiteral("AutoCommit(&U)"), Panel2), 295, 23, 97, 17);
    fitCaptions({cbTime, cbHead, cbBreak, cbTruncate, cbAutoCmt});
    udCmt = place(new QSpinBox(Panel2), 398, 20, 55, 21);
    udCmt->setRange(1, 10000);
    udCmt->setValue(1);
    pbEnd = place(new QPushButton(QStringLiteral("End(&E)"), Panel2), 561, 10, 75, 25);
    anchors->anchorRight(pbEnd);
}

void TfmMain::createStatusBar()
{
    sbMsg = new QStatusBar(this);
    sbMsg->setFixedHeight(19);
    setStatusBar(sbMsg);
    const std::array<int, 5> widths{50, 80, 50, 80, 50};
    for (int i = 0; i < 5; ++i) {
        auto *panel = new QLabel(sbMsg);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The two counters read as numbers, from the right.
        panel->setAlignment((i == 1 || i == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        // The last panel takes the rest of the bar, so that what the grid
        // shows ("Table Data Preview") is not cut off.
        const bool last = i + 1 == int(widths.size());
        if (last)
            panel->setMinimumWidth(widths[i]);
        else
            panel->setFixedWidth(widths[i]);
        sbMsg->addWidget(panel, last ? 1 : 0);
        sbPanels[i] = panel;
    }
    sbPanels[0]->setText(QStringLiteral("Success"));
    sbPanels[2]->setText(QStringLiteral("Error"));
}

void TfmMain::setTabOrders()
{
    const QList<QWidget *> order{rgMode->item(0), rgMode->item(1), edTable, pbTable, pbCount, edCSV, pbCSV,
                                 pbJobList, pbJobAdd, pbConnect, edSep, edDelim, sgData, pbExecute,
                                 cbTime, cbHead, cbBreak, cbTruncate, cbAutoCmt, udCmt, pbEnd};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfmMain::nameControls()
{
    const std::pair<QWidget *, const char *> names[] = {
        {Panel1, "Panel1"},       {rgMode, "rgMode"},         {edTable, "edTable"},       {pbTable, "pbTable"},
        {pbCount, "pbCount"},     {edCSV, "edCSV"},           {pbCSV, "pbCSV"},           {pbJobList, "pbJobList"},
        {pbJobAdd, "pbJobAdd"},   {pbConnect, "pbConnect"},   {edSep, "edSep"},           {edDelim, "edDelim"},
        {sgData, "sgData"},       {Panel2, "Panel2"},         {pbExecute, "pbExecute"},   {cbTime, "cbTime"},
        {cbHead, "cbHead"},       {cbBreak, "cbBreak"},       {cbTruncate, "cbTruncate"}, {cbAutoCmt, "cbAutoCmt"},
        {udCmt, "udCmt"},         {pbEnd, "pbEnd"},           {sbMsg, "sbMsg"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
}

void TfmMain::initState()
{
    lastTable.clear();
    lastCsv.clear();
    sgData->setColWidths(0, 34);
    tableReady = false;
    csvReady = false;
    tableColumnCount = 0;
    csvColumnCount = 0;
    ObjKind = QStringLiteral("TABLE");
    cancelRequested = false;
    sepChar = ',';
    quoteChar = '"';
    lineBuffer.clear();
}

void TfmMain::showSessionCaption(bool loggedOn)
{
    if (loggedOn)
        setWindowTitle(QStringLiteral("Karvello+  [") + OCI->UserID + QStringLiteral(" @ ") + OCI->ConnStr
                       + QStringLiteral("]"));
    else
        setWindowTitle(QStringLiteral("Karvello+ "));
}

// --- Operations ------------------------------------------------------------------

void TfmMain::SetSessionControls(bool enabled)
{
    for (QWidget *control : {static_cast<QWidget *>(pbExecute), static_cast<QWidget *>(pbTable),
                             static_cast<QWidget *>(pbCSV), static_cast<QWidget *>(pbCount)})
        control->setEnabled(enabled);
    setFieldEnabled(edTable, enabled);
    setFieldEnabled(edCSV, enabled);
}

void TfmMain::ClearPreview()
{
    for (int row = StringGrid::FixedRows; row < sgData->RowCount(); ++row)
        for (int col = 0; col < sgData->ColCount(); ++col)
            sgData->setCells(col, row, {});
    setStatusText(4, QString());
}

void TfmMain::setStatusText(int panel, const QString &text)
{
    if (panel >= 0 && panel < int(sbPanels.size()))
        sbPanels[panel]->setText(text);
}

QString TfmMain::statusText(int panel) const
{
    return panel >= 0 && panel < int(sbPanels.size()) ? sbPanels[panel]->text() : QString();
}

// --- Handlers ----------------------------------------------------------------------

void TfmMain::rgModeClick()
{
    ClearPreview();
    const bool exporting = rgMode->ItemIndex() == 1;
    cbTime->setEnabled(exporting);
    cbTruncate->setEnabled(!exporting);
    cbAutoCmt->setEnabled(!exporting);
    udCmt->setEnabled(!exporting);
    cbAutoCmtClick();
}

void TfmMain::cbAutoCmtClick()
{
    setFieldEnabled(udCmt, cbAutoCmt->isChecked());
}

void TfmMain::FormKeyPress(char &key)
{
    if (key == kEsc)
        cancelRequested = true;
}

void TfmMain::FormCloseQuery(bool &canClose)
{
    RegSettings(false, 2);
    if (OCI->connected())
        OCI->DisConnect();
    canClose = true;
}

void TfmMain::pbEndClick()
{
    close();
}

void TfmMain::closeEvent(QCloseEvent *event)
{
    // A running transfer processes events at its cancel checks; the session
    // must not be closed under it.
    if (busy) {
        event->ignore();
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

// Key preview: a key is seen here once, when it reaches the first widget of
// this window that receives it, before that widget handles it.
bool TfmMain::eventFilter(QObject *watched, QEvent *event)
{
    QKeyEvent *keyEvent = previewedKeyPress(this, watched, event);
    if (!keyEvent)
        return false;
    const QString text = keyEvent->text();
    char key = keyEvent->key() == Qt::Key_Escape ? kEsc : (text.size() == 1 ? text[0].toLatin1() : 0);
    if (key != 0)
        FormKeyPress(key);
    return false;
}
