// The run control: Execute in the main window and in the job list window, one
// import or export with its checks and questions, and the batch over the job
// list with each job's outcome written into its row.
#include "app/Globals.h"
#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "joblist/ErrorFiles.h"
#include "joblist/JobList.h"
#include "joblist/JobListView.h"
#include "joblist/TfmJob.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "transfer/Preview.h"
#include "transfer/Transfer.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScopeGuard>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

constexpr int kImportMode = 0;

const QString kTruncateWarning =
    QStringLiteral("Truncateオプションが選択されています。現在のテーブルのデータは破棄されます。");
const QString kAreYouSure = QStringLiteral("よろしいですか？");
const QString kErrorRecords = QStringLiteral("エラーレコードがあります。");
const QString kErrorRecordsLost = QStringLiteral("エラーファイルに出力できなかったエラーレコードがあります。");

// Holds the window busy for a run, so that nothing reached through the events
// processed meanwhile (closing the window, a second run, the job list's
// commands, the previews, ReConnect) touches the cursor or the session under
// it. The previews refuse to work while busy is set and the transfers clear it
// when they end: the run lends busy out for its own previews and takes it
// back after every transfer. Puts back the state it found.
class RunMark {
public:
    explicit RunMark(TfmMain &main)
        : m_main(main)
        , m_before(main.busy)
    {
        m_main.busy = true;
    }
    ~RunMark() { m_main.busy = m_before; }
    RunMark(const RunMark &) = delete;
    RunMark &operator=(const RunMark &) = delete;

    // Runs `step` with busy cleared: only steps that process no events.
    template <typename Step>
    void lend(Step step)
    {
        m_main.busy = false;
        step();
        m_main.busy = true;
    }
    void renew() { m_main.busy = true; }

private:
    TfmMain &m_main;
    const bool m_before;
};

std::string bytes(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

MsgResult ask(TfmMain &main, const QString &question, MsgIcon icon, MsgButtons buttons)
{
    return platform::showMessage(&main, question, icon, buttons);
}

// An outcome without a text (the transfer already said what there was to say,
// or the person declined one of its questions) shows no empty box.
void tell(TfmMain &main, const QString &text, MsgIcon icon)
{
    if (!text.isEmpty())
        platform::showMessage(&main, text, icon, MsgButtons::Ok);
}

// The question before an import. A column count that differs from the
// table's only warns: the run binds the fields the lines have.
QString importQuestion(bool countsMatch, bool truncate)
{
    QStringList lines;
    if (countsMatch) {
        lines << QStringLiteral("データをインポートします。");
        if (truncate)
            lines << kTruncateWarning;
    } else {
        lines << QStringLiteral("テーブルとインポートデータのカラム数が一致しません。")
              << QStringLiteral("データをインポートしますが、データに不整合が生じるかもしれません。");
        if (truncate)
            lines << QString() << kTruncateWarning;
    }
    lines << kAreYouSure;
    return lines.join(QLatin1Char('\n'));
}

// After an import that rejected lines: a person may look at the lines and
// the reasons at once; a batch says so in the job's STATUS and leaves the
// files for the job list to open.
void offerErrorFiles(TfmMain &main, const QString &csv, bool batch, QString &message)
{
    if (batch) {
        // Files that miss some of the rejected lines must not pass for
        // complete ones in the job's status.
        message = message.contains(kErrorRecordsLost) ? kErrorRecords + QLatin1Char('\n') + kErrorRecordsLost
                                                      : kErrorRecords;
        return;
    }
    const MsgResult answer = ask(main, message + QLatin1Char('\n') + kErrorRecords + QStringLiteral("\n表示しますか？"),
                                 MsgIcon::Warning, MsgButtons::YesNo);
    message.clear();
    if (answer == MsgResult::Yes)
        openErrorFiles(csv);
}

// --- The batch --------------------------------------------------------------------

void clearJobResult(JobList &jobs, int row)
{
    for (JobList::Column column : {JobList::Status, JobList::Record, JobList::Success, JobList::Error})
        jobs.setText(row, column, {});
}

void writeJobResult(TfmJob &window, int row, const QString &message)
{
    JobList &jobs = *window.jobList;
    jobs.setText(row, JobList::Status, bytes(message));
    jobs.setText(row, JobList::Record, std::to_string(recordCount));
    jobs.setText(row, JobList::Success, std::to_string(successCount));
    jobs.setText(row, JobList::Error, std::to_string(errorCount));
    window.lvJob->viewport()->repaint();
}

// Each job is previewed afresh, so the grid maps its table's columns in their
// own order and the checks see its table and file.
int runJob(TfmMain &main, RunMark &mark, const Job &job, QString &message)
{
    mark.lend([&] {
        main.edTable->setText(QString::fromLocal8Bit(job.table));
        PreviewTable(main, bytes(main.edTable->text()));
        main.edCSV->setText(QString::fromLocal8Bit(job.csv));
        PreviewCsv(main, main.edCSV->text());
    });
    main.repaint();
    return main.RunTransfer(main.edTable->text(), main.edCSV->text(), true, main.rgMode->ItemIndex(), message);
}

// Runs every job, or only the selected ones, without a question; only a
// cancelled job asks whether to go on.
void runJobList(TfmMain &main, RunMark &mark, TfmJob &window, bool selectedOnly)
{
    JobList &jobs = *window.jobList;
    const auto runs = [&](int row) { return !selectedOnly || jobs.isSelected(row); };

    bool stopped = false;
    {
        // Nobody changes the list while results are written into it.
        window.setEnabled(false);
        const auto enable = qScopeGuard([&] { window.setEnabled(true); });
        for (int row = 0; row < jobs.count(); ++row) {
            if (runs(row))
                clearJobResult(jobs, row);
        }
        for (int row = 0; row < jobs.count() && !stopped; ++row) {
            if (!runs(row))
                continue;
            // A copy, so that nothing done to the list meanwhile can pull it
            // away under the run.
            const Job job = jobs.job(row);
            QString message;
            const int result = runJob(main, mark, job, message);
            writeJobResult(window, row, message);
            if (result == transfer::Cancelled)
                stopped = ask(main, QStringLiteral("キャンセルしました。\n後続の処理を中断しますか？"),
                              MsgIcon::Question, MsgButtons::YesNo)
                          == MsgResult::Yes;
        }
    }
    if (!stopped)
        tell(main,
             main.rgMode->ItemIndex() == kImportMode ? QStringLiteral("インポートを完了しました。")
                                                     : QStringLiteral("エクスポートを完了しました。"),
             MsgIcon::Information);
}

} // namespace

// --- Execute ----------------------------------------------------------------------

void TfmMain::pbExecuteClick(QObject *sender)
{
    // A run processes events at its cancel checks; Execute reached from there
    // would start a second run on the same cursor.
    if (busy)
        return;
    RunMark mark(*this);
    const bool selectedOnly = sender == nullptr;
    if (fmJob && fmJob->jobList->count() > 0) {
        const MsgResult answer =
            selectedOnly ? MsgResult::Yes
                         : ask(*this,
                               QStringLiteral("JobListが登録されています。\nバッチモードで動作します。\n"
                                              "よろしいですか？\n単独で実行する場合は「いいえ」を選択して下さい。"),
                               MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Yes) {
            runJobList(*this, mark, *fmJob, selectedOnly);
            return;
        }
        if (answer != MsgResult::No)
            return;
    }
    // The grid's data rows show the file's fields in file order again under
    // the column names as the person arranged them; the table preview is the
    // one the last choice of a table made.
    mark.lend([this] { PreviewCsv(*this, edCSV->text()); });
    QString message;
    RunTransfer(edTable->text(), edCSV->text(), false, rgMode->ItemIndex(), message);
}

void TfmMain::RunBatch(bool selectedOnly)
{
    if (busy || !fmJob)
        return;
    RunMark mark(*this);
    runJobList(*this, mark, *fmJob, selectedOnly);
}

// --- One run ----------------------------------------------------------------------

int TfmMain::RunTransfer(const QString &table, const QString &csvText, bool batch, int mode, QString &message)
{
    RunMark mark(*this);
    const QString csv = platform::folderPart(csvText).isEmpty() ? platform::programFolder() + csvText : csvText;
    message.clear();
    recordCount = 0;
    successCount = 0;
    errorCount = 0;
    if (!ConfirmTransfer(table, csv, batch, mode, message))
        return transfer::Failed;

    if (mode != kImportMode) {
        const int result = ExportData(*this, bytes(table), csv, message, batch);
        mark.renew();
        if (!batch)
            tell(*this, message, MsgIcon::Information);
        return result;
    }

    // Files left by an earlier run of the same file would otherwise pass for
    // this run's.
    const QStringList errorFiles = errorFilePaths(csv);
    for (const QString &path : errorFiles)
        QFile::remove(path);
    const int result = ImportData(*this, bytes(table), csv, errorFiles[0], errorFiles[1], message, batch);
    mark.renew();
    QCoreApplication::processEvents();
    if (QFileInfo::exists(errorFiles[0]))
        offerErrorFiles(*this, csv, batch, message);
    else if (!batch)
        tell(*this, message, MsgIcon::Information);
    return result;
}

bool TfmMain::ConfirmTransfer(const QString &table, const QString &csv, bool batch, int mode, QString &message)
{
    const auto fail = [&](const QString &text, QLineEdit *field) {
        message = text;
        if (!batch) {
            tell(*this, text, MsgIcon::Warning);
            field->setFocus();
        }
        return false;
    };
    const auto confirm = [&](const QString &question, MsgIcon icon) {
        return batch || ask(*this, question, icon, MsgButtons::YesNo) != MsgResult::No;
    };

    const QString noTable = QStringLiteral("テーブルが指定されていません。");
    if (table.isEmpty())
        return fail(noTable, edTable);
    if (platform::fileNamePart(csv).isEmpty())
        return fail(QStringLiteral("ＣＳＶファイルが指定されていません。"), edCSV);
    if (mode != kImportMode)
        return confirm(QStringLiteral("データをエクスポートします。\n") + kAreYouSure, MsgIcon::Question);
    if (!csvReady)
        return fail(QStringLiteral("インポートデータが指定されていません。"), edCSV);
    if (!tableReady)
        return fail(noTable, edTable);
    if (csvColumnCount == 0)
        return fail(QStringLiteral("インポートデータがありません。"), edCSV);

    // Emptying the table first makes the question a warning.
    const bool truncate = cbTruncate->isChecked();
    return confirm(importQuestion(csvColumnCount == tableColumnCount, truncate),
                   truncate ? MsgIcon::Warning : MsgIcon::Question);
}
