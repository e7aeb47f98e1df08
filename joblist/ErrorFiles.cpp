#include "joblist/ErrorFiles.h"

#include "platform/Paths.h"
#include "platform/Shell.h"

#include <QFileInfo>

QStringList errorFilePaths(const QString &csv)
{
    if (csv.isEmpty())
        return {};
    const QString path = platform::folderPart(csv).isEmpty() ? platform::programFolder() + csv : csv;
    return {platform::changeExtension(path, QStringLiteral(".err")),
            platform::changeExtension(path, QStringLiteral(".erm"))};
}

void openErrorFiles(const QString &csv)
{
    for (const QString &path : errorFilePaths(csv)) {
        if (QFileInfo(path).isFile())
            platform::openDocument(path);
    }
}
