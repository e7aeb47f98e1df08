#pragma once
// Opening a document with the program associated with it, and starting other
// programs. Paths travel as arguments, never through a shell.
#include <QString>

namespace platform {

class ShellService {
public:
    virtual ~ShellService() = default;
    // Opens `path` with its associated program; falls back to a plain-text
    // editor. False when neither could be started.
    virtual bool openDocument(const QString &path) = 0;
};

bool openDocument(const QString &path);

// nullptr restores the Qt implementation. The caller keeps ownership.
void setShellService(ShellService *service);
ShellService &shellService();

} // namespace platform
