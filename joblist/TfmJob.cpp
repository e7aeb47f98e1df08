#include "joblist/TfmJob.h"

#include "app/Globals.h"
#include "app/KeyPreview.h"
#include "app/PanelAnchors.h"
#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "dialogs/TFolderDialog.h"
#include "joblist/ErrorFiles.h"
#include "joblist/JobList.h"
#include "joblist/JobListView.h"
#include "joblist/JobSelection.h"
#include "joblist/ListCommands.h"
#include "oracle/TOCIctrl.h"
#include "platform/Forms.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Width of the window's inside that the panels' positions were designed for.
constexpr int kDesignWidth = 388;
constexpr char kEsc = 27;
constexpr char kEnter = 13;

QFrame *makePanel(QWidget *parent, int height)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setFixedHeight(height);
    return panel;
}

QPushButton *makeButton(QWidget *panel, const QString &caption, QRect geometry)
{
    auto *button = new QPushButton(caption, panel);
    button->setGeometry(geometry);
    return button;
}

platform::FileDialogRequest csvFileDialog()
{
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.fileName = QStringLiteral("*.csv");
    request.defaultExt = QStringLiteral(".csv");
    request.filter = QStringLiteral("CSVﾌｧｲﾙ(*.csv)|*.csv|全てのﾌｧｲﾙ(*.*)|*.*");
    return request;
}

int firstSelected(const JobList &list)
{
    return GetSelRange(list).first;
}

QString csvOf(const JobList &list, int row)
{
    return QString::fromLocal8Bit(list.text(row, JobList::Csv));
}

} // namespace

// --- Construction ---------------------------------------------------------------

TfmJob::TfmJob(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , dlgFileSel(csvFileDialog())
    , dlgFolderSel(new TFolderDialog(this))
    , jobList(new JobList(this))
{
    setWindowTitle(QStringLiteral("JobList"));
    setFont(platform::formFont());
    setGeometry(321, 183, 396, 406);
    setMinimumSize(272, 118);
    dlgFolderSel->setMessage(QStringLiteral("フォルダを選択してください"));
    createControls();
    UpdateMoveButtons();
}

void TfmJob::createControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createTopPanel();
    lvJob = new JobListView(jobList, this);
    createBottomPanel();
    layout->addWidget(Panel2);
    layout->addWidget(lvJob, 1);
    layout->addWidget(Panel1);
    createPopup();
    setTabOrders();
    nameControls();

    connect(pbLoad, &QPushButton::clicked, this, &TfmJob::pbLoadClick);
    connect(pbSave, &QPushButton::clicked, this, &TfmJob::pbSaveClick);
    connect(pbExec, &QPushButton::clicked, this, &TfmJob::pbExecClick);
    connect(pbDel, &QPushButton::clicked, this, &TfmJob::pbDelClick);
    connect(pbUp, &QPushButton::clicked, this, &TfmJob::pbUpClick);
    connect(pbDown, &QPushButton::clicked, this, &TfmJob::pbDownClick);
    connect(pbClose, &QPushButton::clicked, this, &TfmJob::pbCloseClick);
    connect(lvJob, &JobListView::listClicked, this, &TfmJob::lvJobClick);
    connect(lvJob, &JobListView::listDoubleClicked, this, &TfmJob::lvJobDblClick);
    connect(lvJob, &JobListView::selectionMarksChanged, this, &TfmJob::lvJobSelectItem);
    qApp->installEventFilter(this);
}

void TfmJob::createTopPanel()
{
    Panel2 = makePanel(this, 41);
    pbLoad = makeButton(Panel2, QStringLiteral("Load(&L)"), {10, 8, 75, 25});
    pbSave = makeButton(Panel2, QStringLiteral("Save(&S)"), {96, 8, 75, 25});
    pbExec = makeButton(Panel2, QStringLiteral("Execute(&E)"), {305, 8, 75, 25});
    (new PanelAnchors(Panel2, kDesignWidth))->anchorRight(pbExec);
}

void TfmJob::createBottomPanel()
{
    Panel1 = makePanel(this, 40);
    pbDel = makeButton(Panel1, QStringLiteral("Delete(&D)"), {11, 8, 75, 25});
    pbUp = makeButton(Panel1, QStringLiteral("↑"), {160, 6, 23, 23});
    pbDown = makeButton(Panel1, QStringLiteral("↓"), {197, 6, 23, 23});
    pbClose = makeButton(Panel1, QStringLiteral("Close(&C)"), {302, 8, 75, 25});
    (new PanelAnchors(Panel1, kDesignWidth))->anchorRight(pbClose);
}

// The entries' shortcuts belong to the list: they act while it has the
// focus, whether or not the menu was ever opened.
void TfmJob::createPopup()
{
    pn = new QMenu(lvJob);
    mnSet = pn->addAction(QStringLiteral("セット(&S)"));
    mnSet->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnFile = pn->addAction(QStringLiteral("ファイル(&F)"));
    mnFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    for (QAction *entry : {mnSet, mnFile}) {
        entry->setShortcutContext(Qt::WidgetShortcut);
        lvJob->addAction(entry);
    }
    connect(mnSet, &QAction::triggered, this, &TfmJob::mnSetClick);
    connect(mnFile, &QAction::triggered, this, &TfmJob::mnFileClick);
    connect(pn, &QMenu::aboutToShow, this, &TfmJob::pnPopup);
    connect(lvJob, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { pn->popup(lvJob->viewport()->mapToGlobal(pos)); });
}

void TfmJob::setTabOrders()
{
    const QList<QWidget *> order{pbDel, pbUp, pbDown, pbClose, lvJob, pbLoad, pbSave, pbExec};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfmJob::nameControls()
{
    const std::pair<QObject *, const char *> names[] = {
        {Panel2, "Panel2"}, {pbLoad, "pbLoad"}, {pbSave, "pbSave"}, {pbExec, "pbExec"},
        {lvJob, "lvJob"},   {Panel1, "Panel1"}, {pbDel, "pbDel"},   {pbUp, "pbUp"},
        {pbDown, "pbDown"}, {pbClose, "pbClose"}, {pn, "pn"},       {mnSet, "mnSet"},
        {mnFile, "mnFile"}, {dlgFolderSel, "dlgFolderSel"}};
    for (const auto &[object, name] : names)
        object->setObjectName(QLatin1String(name));
}

// --- List commands --------------------------------------------------------------

bool TfmJob::AddJob(const std::string &table, const std::string &csv)
{
    const bool added = jobList->AddJob(table, csv);
    lvJobClick();
    return added;
}

void TfmJob::pbSaveClick()
{
    const int mode = fmMain ? fmMain->rgMode->ItemIndex() : 0;
    SaveJobList(this, listDialogs, *jobList, mode);
    lvJobClick();
}

void TfmJob::pbLoadClick()
{
    LoadJobList(this, listDialogs, *jobList, [](int mode) {
        if (fmMain)
            fmMain->rgMode->setItemIndex(mode);
    });
    lvJobClick();
}

// --- Handlers ----------------------------------------------------------------------

void TfmJob::FormKeyPress(char &key)
{
    if (key == kEsc && fmMain)
        fmMain->FormKeyPress(key);
}

void TfmJob::lvJobClick()
{
    const bool selected = GetSelRange(*jobList).any();
    pbDel->setEnabled(selected);
    pbExec->setEnabled(selected && fmMain && fmMain->OCI->connected());
}

void TfmJob::lvJobSelectItem()
{
    UpdateMoveButtons();
}

void TfmJob::UpdateMoveButtons()
{
    const MoveStates states = moveStates(*jobList);
    pbUp->setEnabled(states.up);
    pbDown->setEnabled(states.down);
}

void TfmJob::lvJobDblClick()
{
    const int row = firstSelected(*jobList);
    if (row >= 0)
        openErrorFiles(csvOf(*jobList, row));
    lvJobClick();
}

bool TfmJob::lvJobKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    // Some keyboards report the arrows as keypad keys.
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers == Qt::AltModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        QPushButton *button = key == Qt::Key_Up ? pbUp : pbDown;
        if (button->isEnabled())
            button == pbUp ? pbUpClick() : pbDownClick();
        // Left to the list, the arrow would select the single next row and
        // break up the block.
        return true;
    }
    if (modifiers == Qt::ControlModifier && key == Qt::Key_A) {
        selectAll(*jobList);
        return true;
    }
    return false;
}

void TfmJob::pbDelClick()
{
    deleteSelected(*jobList);
    lvJobClick();
}

void TfmJob::pbUpClick()
{
    moveSelectedBlock(*jobList, MoveDirection::Up);
    UpdateMoveButtons();
}

void TfmJob::pbDownClick()
{
    moveSelectedBlock(*jobList, MoveDirection::Down);
    UpdateMoveButtons();
}

void TfmJob::pbExecClick()
{
    // The run control refuses to start while a transfer runs.
    if (fmMain)
        fmMain->RunBatch(true);
    raise();
    activateWindow();
}

void TfmJob::pbCloseClick()
{
    hide();
}

void TfmJob::pnPopup()
{
    const int count = selectedCount(*jobList);
    if (count == 1)
        mnFile->setText(QStringLiteral("ファイル(&F)"));
    else if (count >= 2)
        mnFile->setText(QStringLiteral("フォルダ(&F)"));
}

void TfmJob::mnSetClick()
{
    if (!fmMain || fmMain->busy)
        return;
    const int row = firstSelected(*jobList);
    if (row < 0)
        return;
    // The previews may let the window's events run; the job is copied first
    // so that nothing done meanwhile to the list can pull it away.
    const Job job = jobList->job(row);
    char key = kEnter;
    fmMain->edTable->setText(QString::fromLocal8Bit(job.table));
    fmMain->edTableKeyPress(key);
    key = kEnter;
    fmMain->edCSV->setText(QString::fromLocal8Bit(job.csv));
    fmMain->edCSVKeyPress(key);
}

void TfmJob::mnFileClick()
{
    const int count = selectedCount(*jobList);
    if (count == 1)
        chooseFile(firstSelected(*jobList));
    else if (count >= 2)
        chooseFolder(firstSelected(*jobList));
}

void TfmJob::chooseFile(int row)
{
    const QString csv = csvOf(*jobList, row);
    dlgFileSel.initialDir = platform::folderPart(csv);
    dlgFileSel.fileName = platform::fileNamePart(csv);
    const std::optional<QString> chosen = platform::getFile(this, dlgFileSel);
    if (chosen)
        jobList->setText(row, JobList::Csv, chosen->toLocal8Bit().toStdString());
}

void TfmJob::chooseFolder(int firstRow)
{
    dlgFolderSel->setFolder(platform::folderPart(csvOf(*jobList, firstRow)));
    if (dlgFolderSel->Execute())
        moveSelectedToFolder(*jobList, dlgFolderSel->Folder().toLocal8Bit().toStdString());
}

// --- Events --------------------------------------------------------------------------

void TfmJob::showEvent(QShowEvent *event)
{
    // The folder of list files may have been changed by another run of the
    // program since the window was last shown.
    listDialogs.ReadListFolder();
    lvJobClick();
    QWidget::showEvent(event);
}

// The window previews its keys; the list's own keys are taken here too, so
// the list never sees the ones it uses up.
bool TfmJob::eventFilter(QObject *watched, QEvent *event)
{
    QKeyEvent *keyEvent = previewedKeyPress(this, watched, event);
    if (!keyEvent)
        return false;
    if (keyEvent->key() == Qt::Key_Escape) {
        char key = kEsc;
        FormKeyPress(key);
    }
    return watched == lvJob && lvJobKeyDown(keyEvent->key(), keyEvent->modifiers());
}
