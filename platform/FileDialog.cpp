#include "platform/FileDialog.h"

#include "platform/Paths.h"
#include "platform/ServiceSlot.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {
namespace {

QString withoutLeadingDot(const QString &ext)
{
    return ext.startsWith(u'.') ? ext.mid(1) : ext;
}

// The patterns of one Qt name filter: "Desc (a b)" -> {"a", "b"}.
QStringList patternsOf(const QString &nameFilter)
{
    static const QRegularExpression parens(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = parens.match(nameFilter);
    return (m.hasMatch() ? m.captured(1) : nameFilter).split(u' ', Qt::SkipEmptyParts);
}

// The file dialog with the VCL's can-close event: the chosen file is offered
// to the caller before the dialog closes, and a refusal keeps it open.
class VclFileDialog final : public QFileDialog {
public:
    VclFileDialog(QWidget *owner, const FileDialogRequest &request)
        : QFileDialog(owner, request.title)
        , m_request(request)
    {
        // The desktop's own dialog cannot hold back its OK for canClose.
        setOption(QFileDialog::DontUseNativeDialog);
        const bool save = request.kind == FileDialogRequest::Kind::Save;
        setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
        setDefaultSuffix(withoutLeadingDot(request.defaultExt));
        const QStringList filters = qtNameFilters(request.filter);
        if (!filters.isEmpty())
            setNameFilters(filters);
        if (!request.initialDir.isEmpty() && QFileInfo(request.initialDir).isDir())
            setDirectory(request.initialDir);
        if (isFileNamePattern(request.fileName))
            showPattern(request.fileName);
        else if (!request.fileName.isEmpty())
            selectFile(request.fileName);
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        const QString chosen = files.isEmpty() ? QString() : files.front();
        if (isFileNamePattern(fileNamePart(chosen))) {
            // A typed pattern narrows the list, as a pattern in the proposed
            // name does; it is never a file to open or create.
            showPattern(fileNamePart(chosen));
            return;
        }
        if (wouldAccept(chosen) && m_request.canClose
            && !m_request.canClose(withDefaultExtension(chosen, m_request.defaultExt)))
            return;
        QFileDialog::accept();
    }

private:
    // Whether Qt would take `path` as the answer rather than enter a folder
    // or refuse a missing file; only then may the caller see it.
    bool wouldAccept(const QString &path) const
    {
        if (path.isEmpty())
            return false;
        const QFileInfo info(path);
        if (info.isDir())
            return false;
        return acceptMode() == QFileDialog::AcceptSave || info.exists();
    }

    void showPattern(const QString &pattern)
    {
        QStringList filters = nameFilters();
        for (const QString &filter : filters) {
            if (patternsOf(filter).contains(pattern, Qt::CaseInsensitive)) {
                selectNameFilter(filter);
                selectFile(QString());
                return;
            }
        }
        filters.append(pattern);
        setNameFilters(filters);
        selectNameFilter(pattern);
        selectFile(QString());
    }

    FileDialogRequest m_request;
};

class QtFileDialogService final : public FileDialogService {
public:
    std::optional<QString> getFile(QWidget *owner, const FileDialogRequest &request) override
    {
        VclFileDialog dialog(owner, request);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return withDefaultExtension(dialog.selectedFiles().front(), request.defaultExt);
    }

    std::optional<QString> getFolder(QWidget *owner, const QString &message,
                                     const QString &startDir) override
    {
        QFileDialog dialog(owner, message);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (!startDir.isEmpty() && QFileInfo(startDir).isDir())
            dialog.setDirectory(startDir);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    }
};

using Slot = ServiceSlot<FileDialogService, QtFileDialogService>;

} // namespace

QStringList qtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            patterns << (pattern == u"*.*" ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            continue;
        if (patternsOf(description) == patterns)
            result << description;
        else
            result << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return result;
}

bool isFileNamePattern(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

QString withDefaultExtension(const QString &path, const QString &defaultExt)
{
    const QString name = fileNamePart(path);
    const QString ext = withoutLeadingDot(defaultExt);
    if (name.isEmpty() || ext.isEmpty() || name.contains(u'.'))
        return path;
    return path + u'.' + ext;
}

std::optional<QString> getFile(QWidget *owner, const FileDialogRequest &request)
{
    return fileDialogService().getFile(owner, request);
}

std::optional<QString> getFolder(QWidget *owner, const QString &message, const QString &startDir)
{
    return fileDialogService().getFolder(owner, message, startDir);
}

void setFileDialogService(FileDialogService *service)
{
    Slot::install(service);
}

FileDialogService &fileDialogService()
{
    return Slot::current();
}

} // namespace platform
