#include "ProductRun.h"

#include "CsvFile.h"
#include "EscResponse.h"
#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "embedded/Admin.h"
#include "oracle/LoginScript.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "support/ScriptedMessageBoxes.h"
#include "transfer/Preview.h"
#include "transfer/Transfer.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <sys/stat.h>

namespace bench {
namespace {

void runSql(TfmMain &window, const std::string &sql)
{
    TOCIcur cursor(&window);
    cursor.setOCIParent(window.OCI);
    if (!cursor.ExecuteSQL(sql) || !window.OCI->Commit())
        fail(sql + ": " + cursor.LastError.toStdString());
}

long countRows(TfmMain &window)
{
    TOCIcur cursor(&window);
    cursor.setOCIParent(window.OCI);
    cursor.SQL = std::string("SELECT COUNT(*) FROM ") + kTableName;
    if (!cursor.Execute() || !cursor.Fetch())
        fail("count: " + cursor.LastError.toStdString());
    return std::stol(cursor.Row()[0]);
}

long countLines(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read " + path);
    long lines = 0;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        lines += chunk.count('\n');
    }
    return lines;
}

// One transfer through the run control, as the Execute button runs it.
Timing transfer(TfmMain &window, int mode, const std::string &path)
{
    window.rgMode->setItemIndex(mode);
    if (!PreviewTable(window, kTableName) || (mode == 0 && !PreviewCsv(window, QString::fromStdString(path))))
        fail("preview failed");
    QString message;
    Stopwatch stopwatch;
    const int result = window.RunTransfer(QString::fromLatin1(kTableName), QString::fromStdString(path), false,
                                          mode, message);
    Timing timing = stopwatch.elapsed();
    if (result != transfer::Completed)
        fail((mode == 0 ? "import: " : "export: ") + message.toStdString());
    return timing;
}

} // namespace

ProductTimings runProduct(const std::string &folder, const std::string &csv, const std::string &exportPath,
                          long rows)
{
    // Settings the window reads and writes stay in the benchmark's folder.
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    const std::string runtime = folder + "/runtime";
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "bench_product";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);

    const std::string database = folder + "/db";
    std::string message;
    if (int rc = kdb::admin::createUser(database, "BENCH", "bench", &message))
        fail("create user: " + std::to_string(rc) + " " + message);
    TOCIctrl::setDefaultLibraryNames({QCoreApplication::applicationDirPath() + "/libkarvellodb.so"});
    LoginScript login;
    login.accept(QStringLiteral("BENCH"), QStringLiteral("bench"), QString::fromStdString(database));
    ScriptedMessageBoxes boxes(platform::MsgResult::Yes);

    TfmMain window;
    if (!window.OCI->connected())
        fail("log-on: " + window.OCI->LastError.toStdString());
    window.cbBreak->setChecked(true);
    window.cbHead->setChecked(false);
    window.cbTruncate->setChecked(false);
    runSql(window, kProductTable);

    ProductTimings timings;
    timings.import = transfer(window, 0, csv);
    if (long stored = countRows(window); stored != rows)
        fail("the import stored " + std::to_string(stored) + " of " + std::to_string(rows) + " rows");
    timings.exported = transfer(window, 1, exportPath);
    if (long lines = countLines(exportPath); lines < rows)
        fail("the export wrote " + std::to_string(lines) + " lines for " + std::to_string(rows) + " rows");
    timings.escResponseMs = slowestEscResponseMs(window, csv.c_str(), timings.import.wall);
    return timings;
}

} // namespace bench
