// The CSV import: one prepared INSERT, executed once per line of the file.
#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "oracle/SqlName.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "transfer/CsvReader.h"
#include "transfer/ErrorRecordFiles.h"
#include "transfer/Transfer.h"
#include "transfer/TransferRun.h"

#include <QCheckBox>
#include <QSpinBox>
#include <algorithm>
#include <exception>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

// Rejected lines after which the run stops, or asks whether to.
constexpr int64_t kErrorLimit = 100;

const QString kCompleted = QStringLiteral("インポートを完了しました。");
const QString kStopped = QStringLiteral("中断しました。");

bool askYes(TfmMain &main, const QString &text)
{
    return platform::showMessage(&main, text, MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes;
}

// The grid's first K column names, in grid order: field i of every line goes
// to the column the person dragged into grid column i. K is the smaller of
// the table's and the file's column counts.
std::vector<std::string> insertColumns(TfmMain &main)
{
    return GridColumnNames(main, std::min(main.sgData->ColCount() - StringGrid::FixedCols, main.csvColumnCount));
}

// Only the box's own state counts: it is disabled in Export mode.
bool truncateFirst(TfmMain &main)
{
    return main.cbTruncate->isChecked() && main.cbTruncate->isEnabledTo(main.cbTruncate->parentWidget());
}

// The table is emptied whether or not the rest of the run works out; a
// failure leaves its rows, and the run goes on either way.
void truncateTable(TfmMain &main, const std::string &table)
{
    try {
        main.OCIcur->ExecuteSQL("truncate table " + SqlTableName(table));
    } catch (const std::exception &) {
    }
}

// The line's fields as the INSERT's values: exactly `count` texts, missing
// fields empty, extra fields dropped. The strings are reused from line to
// line, so once they have grown a line allocates nothing.
void takeFields(const CsvFields &fields, std::vector<std::string> &values, size_t count)
{
    values.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (i < fields.size())
            values[i].assign(fields[i]);
        else
            values[i].clear();
    }
}

// Reads the file line by line into the prepared INSERT.
class LineImport {
public:
    LineImport(TfmMain &main, CsvInputStream &csv, ErrorRecordFiles &errors, size_t columnCount, bool batch)
        : m_main(main)
        , m_cursor(*main.OCIcur)
        , m_csv(csv)
        , m_errors(errors)
        , m_columnCount(columnCount)
        , m_batch(batch)
        , m_header(main.cbHead->isChecked() ? 1 : 0)
        , m_commitEvery(main.cbAutoCmt->isChecked() ? main.udCmt->value() : 0)
        , m_progress(main)
    {
    }

    // Runs to the end of the file, a cancel or a stop. True when the run
    // stopped short of a clean end: the error limit, a failed commit, or a
    // file that could not be read to its end.
    bool run(QString &message);
    // The successes up to the last intermediate commit that worked.
    int64_t committedSuccesses() const { return m_committed; }

private:
    enum class Next { Line, Leave };

    Next importLine(std::string_view line, int64_t lineIndex, QString &message);
    void insert(std::string_view line);
    Next checkErrorLimit(QString &message);

    TfmMain &m_main;
    TOCIcur &m_cursor;
    CsvInputStream &m_csv;
    ErrorRecordFiles &m_errors;
    const size_t m_columnCount;
    const bool m_batch;
    const int m_header;      // 1 when the first line names the columns
    const int m_commitEvery; // 0: commit only at the end
    int64_t m_committed = 0;
    ProgressCheck m_progress;
    CsvFields m_fields;
    std::vector<std::string> m_values;
    bool m_stopped = false;
};

bool LineImport::run(QString &message)
{
    platform::WaitCursor wait;
    std::string_view line;
    int64_t lineIndex = 0;   // lines delivered so far, the header line included
    int64_t sinceCommit = 0; // lines read since the last intermediate commit
    for (;;) {
        const bool more = ReadCsvLine(m_main.lineBuffer, line, m_csv);
        if (!more && line.empty())
            break;
        if (!line.empty() && !(m_header && lineIndex == 0)) {
            if (importLine(line, lineIndex, message) == Next::Leave)
                return m_stopped;
            // The counter includes the header line, so with one the first
            // commit follows the N-th data line, without one the (N+1)-th.
            if (m_commitEvery > 0 && sinceCommit >= m_commitEvery) {
                if (!m_main.OCI->Commit()) {
                    message = m_main.OCI->LastError;
                    // What the failed commit held is not stored: the count
                    // says what the table has.
                    successCount = m_committed;
                    return true;
                }
                m_committed = successCount;
                sinceCommit = 0;
            }
            if (checkErrorLimit(message) == Next::Leave)
                return m_stopped;
        }
        ++lineIndex;
        ++sinceCommit;
        if (!more)
            break;
    }
    if (m_csv.hasError()) {
        // Taken for the end of the file by the reader; the lines before it
        // are stored, the rest never came.
        message = QStringLiteral("CSVファイルを最後まで読めませんでした。\n") + m_csv.errorString();
        return true;
    }
    return m_stopped;
}

LineImport::Next LineImport::importLine(std::string_view line, int64_t lineIndex, QString &message)
{
    if (atProgressCheck(lineIndex - m_header) && m_progress.cancelConfirmed(successCount, errorCount, message))
        return Next::Leave;
    ++recordCount;
    insert(line);
    return Next::Line;
}

void LineImport::insert(std::string_view line)
{
    SplitCsvLine(line, m_main.sepChar, m_main.quoteChar, m_fields);
    takeFields(m_fields, m_values, m_columnCount);
    if (m_cursor.InsertData(m_values)) {
        ++successCount;
        return;
    }
    m_errors.record(line, m_cursor.LastError);
    ++errorCount;
}

// At the limit a batch stops; a person is asked once whether to stop, and a
// stop on request counts as a cancel.
LineImport::Next LineImport::checkErrorLimit(QString &message)
{
    if (errorCount < kErrorLimit || m_stopped)
        return Next::Line;
    ShowCounts(m_main, successCount, errorCount);
    m_stopped = true;
    if (!m_batch && !askYes(m_main, QStringLiteral("エラーが100件に達しました。中断しますか？")))
        return Next::Line;
    if (!m_batch)
        m_main.cancelRequested = true;
    message = kStopped;
    return Next::Leave;
}

// Creates the two error files, asking a person whether to go on without one
// that cannot be created. False when the run is not to go on.
bool createErrorFiles(TfmMain &main, ErrorRecordFiles &errors, bool batch)
{
    if (!errors.createRecords() && !batch) {
        if (!askYes(main, QStringLiteral("エラーファイルを出力できません。\nインポートを実行しますか？")))
            return false;
        errors.doWithoutRecords();
    }
    if (!errors.createMessages() && !batch) {
        if (!askYes(main, QStringLiteral("エラーメッセージファイルを出力できません。\nインポートを実行しますか？"))) {
            errors.remove();
            return false;
        }
        errors.doWithoutMessages();
    }
    return true;
}

// Ends the transaction: rolled back after a cancel, committed otherwise.
// False, with the session's text in `message`, when the commit failed.
bool endTransaction(TfmMain &main, QString &message)
{
    if (main.cancelRequested) {
        main.OCI->Rollback();
        return true;
    }
    if (main.OCI->Commit())
        return true;
    message = main.OCI->LastError;
    return false;
}

} // namespace

int ImportData(TfmMain &main, const std::string &table, const QString &csvPath, const QString &errPath,
               const QString &ermPath, QString &message, bool batch)
{
    main.cancelRequested = false;
    message.clear();
    recordCount = 0;
    successCount = 0;
    errorCount = 0;
    ShowCounts(main, 0, 0);
    if (!batch && !(main.tableReady && main.csvReady))
        return transfer::Failed;

    ErrorRecordFiles errors(main, errPath, ermPath);
    if (!createErrorFiles(main, errors, batch))
        return transfer::Failed;
    CsvInputStream csv(csvPath);
    if (!csv.isOpen()) {
        const QString text = QStringLiteral("CSVファイルを開けません");
        if (batch)
            message = text;
        else
            platform::showMessage(&main, text, MsgIcon::Warning, MsgButtons::Ok);
        errors.remove();
        return transfer::Failed;
    }

    BusyMark busy(main);
    const std::vector<std::string> columns = insertColumns(main);
    if (truncateFirst(main))
        truncateTable(main, table);
    ControlsLock lock(main);
    message = kCompleted;

    bool stopped = false;
    LineImport lines(main, csv, errors, columns.size(), batch);
    if (!main.OCIcur->Insert(SqlTableName(table), columns)) {
        message = main.OCIcur->LastError;
        if (batch)
            platform::showMessage(&main, message, MsgIcon::Error, MsgButtons::Ok);
        main.OCI->Rollback();
        stopped = true;
    } else {
        stopped = lines.run(message);
    }
    const bool committed = endTransaction(main, message);
    stopped = stopped || !committed;
    // Rolled back or not committed: the lines since the last commit that
    // worked are not in the table, and the count says what the table has.
    if (!committed || main.cancelRequested)
        successCount = lines.committedSuccesses();

    errors.close();
    ShowCounts(main, successCount, errorCount);
    if (errorCount == 0)
        errors.remove();
    if (errors.linesLost()) {
        message += QStringLiteral("\nエラーファイルに出力できなかったエラーレコードがあります。");
        stopped = true;
    }
    if (main.cancelRequested) {
        main.cancelRequested = false;
        return transfer::Cancelled;
    }
    return stopped ? transfer::Failed : transfer::Completed;
}
