#include "platform/Paths.h"

#include <QCoreApplication>

namespace platform {

QString folderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString fileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString changeExtension(const QString &path, const QString &ext)
{
    qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    // Leading dots make a name hidden (".profile"); they start no extension.
    while (nameStart < path.size() && path[nameStart] == u'.')
        ++nameStart;
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < nameStart)
        return path + ext;
    return path.left(dot) + ext;
}

QString programFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace platform
