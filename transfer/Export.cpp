// The table export: one query that already formats every value, its rows
// joined by the separator into the CSV file.
#include "app/StringGrid.h"
#include "app/TfmMain.h"
#include "oracle/SqlName.h"
#include "oracle/TOCIcur.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "transfer/ExportQuery.h"
#include "transfer/Preview.h"
#include "transfer/Transfer.h"
#include "transfer/TransferRun.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

const QString kCannotWrite = QStringLiteral("ＣＳＶファイルを出力できません。");

// Collects lines and writes them in large blocks; remembers whether every
// byte reached the file.
class CsvWriter {
public:
    explicit CsvWriter(QFile &file)
        : m_file(file)
    {
        m_buffer.reserve(kBlock + 4096);
    }

    // Adds `values` joined by `sepChar`, and CR LF.
    void addLine(const std::vector<std::string> &values, char sepChar)
    {
        for (size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                m_buffer += sepChar;
            m_buffer += values[i];
        }
        m_buffer += "\r\n";
        if (m_buffer.size() >= kBlock)
            writeOut();
    }

    // Writes what is left and closes the file. False when any of it failed.
    bool finish()
    {
        writeOut();
        m_file.close();
        return !m_failed && m_file.error() == QFileDevice::NoError;
    }

private:
    static constexpr size_t kBlock = 256 * 1024;

    void writeOut()
    {
        if (!m_failed && !m_buffer.empty())
            m_failed = m_file.write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size());
        m_buffer.clear();
    }

    QFile &m_file;
    std::string m_buffer;
    bool m_failed = false;
};

// A person sees the text at once; a batch gets it as the job's message. Not
// both: the run control shows the message it gets back, and the same
// warning would come twice, the second time as if it were good news.
int fail(TfmMain &main, QString &message, const QString &text, MsgIcon icon, bool batch)
{
    // Emptied for a person: a write that fails at the end finds the
    // completion text already there, and it must not follow the warning.
    message = batch ? text : QString();
    if (!batch)
        platform::showMessage(&main, text, icon, MsgButtons::Ok);
    return transfer::Failed;
}

} // namespace

int ExportData(TfmMain &main, const std::string &table, const QString &csvPath, QString &message, bool batch)
{
    main.cancelRequested = false;
    ShowCounts(main, 0, 0);
    recordCount = 0;
    successCount = 0;
    errorCount = 0;
    if (!main.tableReady)
        return fail(main, message, QStringLiteral("テーブルが指定されていません。"), MsgIcon::Warning, batch);
    if (!batch && QFileInfo::exists(csvPath)
        && platform::showMessage(&main, QStringLiteral("既にファイルが存在します。上書きしますか？"),
                                 MsgIcon::Question, MsgButtons::YesNo)
               != MsgResult::Yes)
        return transfer::Cancelled;
    // Only a file is written: opening a pipe would wait for a reader, a
    // device would swallow the rows or fill up.
    if (const QFileInfo target(csvPath); target.exists() && !target.isFile())
        return fail(main, message, kCannotWrite, MsgIcon::Error, batch);
    // Our own blocks are large: no second buffer below them.
    QFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(main, message, kCannotWrite, MsgIcon::Error, batch);
    std::vector<ColumnClass> classes;
    if (!ClassifyColumns(main, classes, kColumnLimit))
        return fail(main, message, columnLimitMessage(kColumnLimit), MsgIcon::Error, batch);

    BusyMark busy(main);
    message = QStringLiteral("エクスポートを完了しました。");
    const std::vector<std::string> names = GridColumnNames(main, int(classes.size()));
    TOCIcur &cursor = *main.OCIcur;
    cursor.SQL = ExportSelect(SqlTableName(table), names, classes, main.quoteChar, main.cbTime->isChecked());
    if (!cursor.Execute()) {
        message = QStringLiteral("ＳＱＬエラーが発生しました。");
        return transfer::Failed;
    }

    bool cancelled = false;
    bool fetchFailed = false;
    bool written = false;
    {
        platform::WaitCursor wait;
        ControlsLock lock(main);
        CsvWriter writer(file);
        if (main.cbHead->isChecked())
            writer.addLine(names, main.sepChar);
        ProgressCheck progress(main);
        while (cursor.Fetch()) {
            if (atProgressCheck(recordCount) && progress.cancelConfirmed(recordCount, 0, message)) {
                cancelled = true;
                break;
            }
            writer.addLine(cursor.Row(), main.sepChar);
            ++recordCount;
            ++successCount;
        }
        // A fetch that failed is no end of the table: what was written is
        // only part of it.
        fetchFailed = !cancelled && !cursor.atEndOfRows();
        written = writer.finish();
        ShowCounts(main, recordCount, 0);
    }

    main.cancelRequested = false;
    if (!written)
        return fail(main, message, kCannotWrite, MsgIcon::Error, batch);
    if (fetchFailed) {
        message = QStringLiteral("ＳＱＬエラーが発生しました。");
        return transfer::Failed;
    }
    return cancelled ? transfer::Cancelled : transfer::Completed;
}
