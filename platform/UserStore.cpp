#include "platform/UserStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVariant>
#include <limits>
#include <sys/stat.h>

namespace platform {
namespace {

// "Software\VORLIK\Karvello\List-1" -> "VORLIK/Karvello/List-1.json"
QString relativeFileOf(const QString &keyPath)
{
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front().compare(u"Software", Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    // A key name is ours, never a person's input; still, no part may climb out
    // of the configuration folder or hide a further level.
    for (QString &part : parts) {
        part.replace(u'/', u'_');
        if (part == u"." || part == u"..")
            part = QStringLiteral("_");
    }
    if (parts.isEmpty())
        parts << QStringLiteral("_");
    return parts.join(u'/') + QStringLiteral(".json");
}

enum class FileState { Missing, Read, Corrupt, Unreadable };

// Reads the backing file. A file that exists but cannot be opened is
// Unreadable (a write must then not replace it); one that opens but is not a
// JSON object is Corrupt.
FileState readObject(const QString &path, QJsonObject *object)
{
    *object = QJsonObject();
    QFile file(path);
    if (!file.exists())
        return FileState::Missing;
    // Opening a named pipe would wait for a writer, at start-up; a device
    // might never end. Neither is a settings file, nor to be written over.
    if (!QFileInfo(path).isFile())
        return FileState::Unreadable;
    if (!file.open(QIODevice::ReadOnly))
        return FileState::Unreadable;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return FileState::Corrupt;
    *object = doc.object();
    return FileState::Read;
}

bool makePrivateFolder(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!makePrivateFolder(QFileInfo(path).path()))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || QFileInfo(path).isDir();
}

// The value `name` as stored, or why there is none.
UserStore::ReadStatus storedValue(const QString &path, const QString &name, QJsonValue *value)
{
    QJsonObject object;
    const FileState state = readObject(path, &object);
    if (state == FileState::Corrupt || state == FileState::Unreadable)
        return UserStore::ReadStatus::Unreadable;
    *value = object.value(name);
    return value->isUndefined() ? UserStore::ReadStatus::Missing : UserStore::ReadStatus::Ok;
}

} // namespace

UserStore::UserStore(const QString &keyPath)
    : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
             + relativeFileOf(keyPath))
{
}

QString UserStore::filePath() const
{
    return m_path;
}

UserStore::ReadStatus UserStore::readString(const QString &name, QString *value) const
{
    QJsonValue stored;
    if (const ReadStatus status = storedValue(m_path, name, &stored); status != ReadStatus::Ok)
        return status;
    if (!stored.isString())
        return ReadStatus::Unreadable;
    *value = stored.toString();
    return ReadStatus::Ok;
}

UserStore::ReadStatus UserStore::readInteger(const QString &name, int32_t *value) const
{
    QJsonValue stored;
    if (const ReadStatus status = storedValue(m_path, name, &stored); status != ReadStatus::Ok)
        return status;
    // JSON has only numbers: a whole one ("1", "1.0") is an integer, a
    // fraction is not. Numbers beyond 64 bits arrive as doubles and are
    // refused with the fractions.
    const QVariant number = stored.toVariant();
    if (number.typeId() != QMetaType::LongLong)
        return ReadStatus::Unreadable;
    const qlonglong n = number.toLongLong();
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return ReadStatus::Unreadable;
    *value = static_cast<int32_t>(n);
    return ReadStatus::Ok;
}

bool UserStore::valueExists(const QString &name) const
{
    QJsonObject object;
    readObject(m_path, &object);
    return object.contains(name);
}

bool UserStore::writeString(const QString &name, const QString &value)
{
    return writeValue(name, QJsonValue(value));
}

bool UserStore::writeInteger(const QString &name, int32_t value)
{
    return writeValue(name, QJsonValue(qint64(value)));
}

bool UserStore::writeValue(const QString &name, const QJsonValue &value)
{
    QJsonObject object;
    switch (readObject(m_path, &object)) {
    case FileState::Unreadable:
        return false;
    case FileState::Corrupt:
        // Its values are lost to every reader already; keep its bytes beside
        // it for a person to look at, and start afresh.
        QFile::remove(m_path + QStringLiteral(".corrupt"));
        QFile::copy(m_path, m_path + QStringLiteral(".corrupt"));
        break;
    case FileState::Missing:
    case FileState::Read:
        break;
    }
    object.insert(name, value);

    if (!makePrivateFolder(QFileInfo(m_path).path()))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
