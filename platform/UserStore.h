#pragma once
// The per-user store that takes the registry's place. A key path such as
// "Software\\VORLIK\\Karvello\\List-1" is one JSON file,
// <GenericConfigLocation>/VORLIK/Karvello/List-1.json (the leading "Software"
// is dropped). Each value is read and written on its own: a write re-reads the
// file, changes one value and replaces the file atomically, readable by its
// owner only. A corrupt or missing file reads as empty; a write over a corrupt
// file keeps its bytes as "<file>.corrupt" and starts a fresh one.
#include <QString>
#include <cstdint>
#include <optional>

class QJsonValue;

namespace platform {

class UserStore {
public:
    explicit UserStore(const QString &keyPath);

    // The file that backs the key.
    QString filePath() const;

    // What a read finds: a value of the asked type, no value at all, or a value
    // that cannot be read as that type (a number stored where a string is
    // asked, a number beyond 32 bits, a corrupt file's values...).
    enum class ReadStatus { Ok, Missing, Unreadable };

    ReadStatus readString(const QString &name, QString *value) const;
    ReadStatus readInteger(const QString &name, int32_t *value) const;
    bool valueExists(const QString &name) const;

    // False when the file could not be written; the old file then stays whole.
    bool writeString(const QString &name, const QString &value);
    bool writeInteger(const QString &name, int32_t value);

private:
    bool writeValue(const QString &name, const QJsonValue &value);

    QString m_path;
};

} // namespace platform
