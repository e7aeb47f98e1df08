#include "DemoSchema.h"

#include "TestEnvironment.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>

namespace testenv {
namespace {

int runTool(const QStringList &arguments, const std::string &input, std::string *error)
{
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.start(QString::fromStdString(binDir() + "/karvello-db"), arguments);
    if (!tool.waitForStarted(-1))
        return -1;
    tool.write(input.data(), qint64(input.size()));
    tool.closeWriteChannel();
    tool.waitForFinished(-1);
    if (error)
        *error = tool.readAllStandardError().toStdString();
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

} // namespace

int demoSchema()
{
    static const int status = runTool({QStringLiteral("demo")}, {}, nullptr);
    return status;
}

int demoSql(const std::string &script, std::string *error)
{
    if (const int status = demoSchema())
        return status;
    return runTool({QStringLiteral("sql"), QStringLiteral("--stop-on-error"), QStringLiteral("DEMO/demo")}, script,
                   error);
}

std::string demoSamplesDir()
{
    return std::string(std::getenv("XDG_DATA_HOME")) + "/karvello/samples";
}

} // namespace testenv
