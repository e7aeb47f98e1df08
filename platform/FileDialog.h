#pragma once
// Open and save file dialogs with the properties the forms rely on, and the
// folder chooser. Tests install a scripted service that answers each request.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;           // empty: the platform's own caption
    QString initialDir;      // empty: the platform's default folder
    QString fileName;        // proposed name; a pattern such as "*.csv" fills the filter box only
    QString filter;          // "Description|pattern|Description|pattern", as in "CSV(*.csv)|*.csv|All(*.*)|*.*"
    QString defaultExt;      // ".csv": appended when the chosen name has no extension
    bool overwritePrompt = false; // Save: ask before replacing an existing file
    // Called with the chosen path before the dialog closes; false keeps it open.
    std::function<bool(const QString &path)> canClose;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen path, or nothing when the person cancelled.
    virtual std::optional<QString> getFile(QWidget *owner, const FileDialogRequest &request) = 0;
    // The chosen folder, or nothing when cancelled. `message` is shown above the
    // tree; `startDir` is selected first when it exists.
    virtual std::optional<QString> getFolder(QWidget *owner, const QString &message,
                                             const QString &startDir) = 0;
};

std::optional<QString> getFile(QWidget *owner, const FileDialogRequest &request);
std::optional<QString> getFolder(QWidget *owner, const QString &message, const QString &startDir);

// "Desc|pat;pat|Desc|pat" as Qt name filters ("Desc (pat pat)"). On Linux
// "*.*" would miss names without a dot, so it becomes "*"; a description whose
// own parenthesis already lists the patterns is kept as it stands.
QStringList qtNameFilters(const QString &filter);
// True when a proposed name is a pattern such as "*.csv" rather than a name.
bool isFileNamePattern(const QString &name);
// `path` with `defaultExt` (".csv" or "csv") appended when its file-name part
// has no dot; what both the dialog and its test double hand to `canClose`.
QString withDefaultExtension(const QString &path, const QString &defaultExt);

// nullptr restores the Qt implementation. The caller keeps ownership.
void setFileDialogService(FileDialogService *service);
FileDialogService &fileDialogService();

} // namespace platform
