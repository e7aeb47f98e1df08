// One import or export by the real program, for tests that must do to a run
// what a test process cannot do to itself: kill it, limit its file sizes,
// run it beside another, take away its rights.
//
//   karvello_transfer_child db=FOLDER user=SCOTT password=tiger mode=import|export
//                           table=T csv=PATH [commit=N] [batch=1] [answer=yes|no] [gate=1]
//
// The main window comes up offscreen and logs on to the embedded database in
// FOLDER; HOME and the XDG folders are the ones the caller gives it. Every box
// is answered with `answer` (Yes unless told). With `batch=1` the run asks
// nothing, as a job list runs it. With `gate=1` it reports "ready" once logged
// on and previewed, and starts the run only when a line comes on standard
// input, so that a caller can start two runs at one moment. Standard output, one record a line, texts
// with "\n" for a line break and "\\" for a backslash:
//   ready               logged on, waiting for the line that starts the run
//   progress N          the status bar shows N at a progress check
//   result RC           0 completed, 1 failed, 2 cancelled; 3 the child could not start
//   counts R S E        recordCount, successCount, errorCount
//   message TEXT        the run's message
//   box TEXT            each box the run showed, in order
#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "oracle/LoginScript.h"
#include "oracle/TOCIctrl.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedShell.h"
#include "transfer/Preview.h"
#include "transfer/Transfer.h"
#include "transfer/TransferRun.h"

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

void report(const char *key, const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    std::printf("%s %s\n", key, escaped.toUtf8().constData());
    std::fflush(stdout);
}

// Looks at the status bar each time the window processes its events and
// reports every new count, so the caller knows the run is under way.
class ProgressReporter : public QObject {
public:
    explicit ProgressReporter(TfmMain &window)
        : m_window(window)
    {
        repost();
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != kLook)
            return QObject::event(event);
        const QString shown = m_window.statusText(1);
        if (shown != m_last) {
            m_last = shown;
            report("progress", shown);
        }
        repost();
        return true;
    }

private:
    static constexpr QEvent::Type kLook = QEvent::Type(QEvent::User + 18);
    void repost() { QCoreApplication::postEvent(this, new QEvent(kLook)); }

    TfmMain &m_window;
    QString m_last;
};

std::map<std::string, std::string> arguments(int argc, char **argv)
{
    std::map<std::string, std::string> options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto equals = arg.find('=');
        if (equals != std::string::npos)
            options[arg.substr(0, equals)] = arg.substr(equals + 1);
    }
    return options;
}

int fail(const QString &why)
{
    report("message", why);
    report("result", QStringLiteral("3"));
    return 3;
}

int runOne(std::map<std::string, std::string> options)
{
    const auto text = [&](const char *key) { return QString::fromStdString(options[key]); };
    const bool import = options["mode"] != "export";
    const bool batch = options["batch"] == "1";
    const std::string &commit = options["commit"];

    TOCIctrl::setDefaultLibraryNames({QCoreApplication::applicationDirPath() + "/libkarvellodb.so"});
    LoginScript login;
    login.accept(text("user"), text("password"), text("db"));
    ScriptedMessageBoxes boxes(options["answer"] == "no" ? platform::MsgResult::No : platform::MsgResult::Yes);
    ScriptedShell shell;

    TfmMain window;
    if (!window.OCI->connected())
        return fail(QStringLiteral("log-on: ") + window.OCI->LastError);
    window.cbBreak->setChecked(true);
    window.cbHead->setChecked(false);
    window.cbTruncate->setChecked(false);
    window.cbTime->setChecked(false);
    window.cbAutoCmt->setChecked(!commit.empty() && commit != "0");
    if (window.cbAutoCmt->isChecked())
        window.udCmt->setValue(std::stoi(commit));
    // Every check shows its count, so the caller sees the run move.
    ProgressCheck::setRefreshInterval(std::chrono::milliseconds(0));

    const int mode = import ? 0 : 1;
    window.rgMode->setItemIndex(mode);
    const std::string table = options["table"];
    if (!PreviewTable(window, table) || (import && !PreviewCsv(window, text("csv"))))
        return fail(QStringLiteral("preview failed"));

    if (options["gate"] == "1") {
        report("ready", {});
        char go[16];
        if (!std::fgets(go, sizeof go, stdin))
            return fail(QStringLiteral("no start signal"));
    }
    ProgressReporter reporter(window);
    QString message;
    const int result = window.RunTransfer(text("table"), text("csv"), batch, mode, message);
    report("counts", QStringLiteral("%1 %2 %3").arg(recordCount).arg(successCount).arg(errorCount));
    report("message", message);
    for (const ScriptedMessageBoxes::Box &box : boxes.shown())
        report("box", box.text);
    report("result", QString::number(result));
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    return runOne(arguments(argc, argv));
}
