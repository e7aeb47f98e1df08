#include "platform/Shell.h"

#include "platform/ServiceSlot.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

// Graphical plain-text editors that take a file as their only argument, tried
// in this order when the desktop has no program for the document's type.
const char *const kTextEditors[] = {
    "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma", "featherpad", "leafpad",
};

bool startTextEditor(const QString &absolutePath)
{
    for (const char *name : kTextEditors) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        // The path is one argument, never parsed by a shell; being absolute it
        // cannot be taken for an option either.
        if (!program.isEmpty() && QProcess::startDetached(program, {absolutePath}))
            return true;
    }
    return false;
}

class QtShellService final : public ShellService {
public:
    bool openDocument(const QString &path) override
    {
        const QString absolutePath = QFileInfo(path).absoluteFilePath();
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath)))
            return true;
        return startTextEditor(absolutePath);
    }
};

using Slot = ServiceSlot<ShellService, QtShellService>;

} // namespace

bool openDocument(const QString &path)
{
    return shellService().openDocument(path);
}

void setShellService(ShellService *service)
{
    Slot::install(service);
}

ShellService &shellService()
{
    return Slot::current();
}

} // namespace platform
