// The per-user store over a file of arbitrary bytes: reading never fails the
// program, and a write keeps every value a readable file held while the value
// written reads back as written.
#include "fuzz/FuzzCheck.h"
#include "platform/UserStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {

const QString kKey = QStringLiteral("Software\\VORLIK\\Karvello\\List-1");
// The names the program stores, and one that no file is likely to hold.
const QString kNames[] = {QStringLiteral("Folder"), QStringLiteral("Mode"),
                          QStringLiteral("Left"), QStringLiteral(""), QStringLiteral("\u00e9")};

std::unique_ptr<QTemporaryDir> configFolder;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

// The file's values as a JSON object, when it holds one.
std::optional<QJsonObject> objectOf(const QByteArray &bytes)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Files are written and replaced at every input: a folder in memory keeps
    // that quick where there is one.
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/karvello-fuzz-XXXXXX")
                                                                   : QDir::tempPath() + QStringLiteral("/karvello-fuzz-XXXXXX");
    configFolder = std::make_unique<QTemporaryDir>(base);
    FUZZ_CHECK(configFolder->isValid());
    setenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder->path()).constData(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    platform::UserStore store(kKey);
    writeFile(store.filePath(), bytes);

    for (const QString &name : kNames) {
        QString text;
        int32_t number = 0;
        const auto stringStatus = store.readString(name, &text);
        const auto integerStatus = store.readInteger(name, &number);
        // A value is of one type at most.
        FUZZ_CHECK(!(stringStatus == platform::UserStore::ReadStatus::Ok
                     && integerStatus == platform::UserStore::ReadStatus::Ok));
        store.valueExists(name);
    }

    const std::optional<QJsonObject> before = objectOf(bytes);
    const QString text = QString::fromUtf8(bytes.left(40));
    FUZZ_CHECK(store.writeString(QStringLiteral("Folder"), text));
    FUZZ_CHECK(store.writeInteger(QStringLiteral("Mode"), int32_t(size) - 20));

    QString textBack;
    int32_t numberBack = 0;
    FUZZ_CHECK(store.readString(QStringLiteral("Folder"), &textBack) == platform::UserStore::ReadStatus::Ok);
    FUZZ_CHECK(textBack == text);
    FUZZ_CHECK(store.readInteger(QStringLiteral("Mode"), &numberBack) == platform::UserStore::ReadStatus::Ok);
    FUZZ_CHECK(numberBack == int32_t(size) - 20);

    if (before) {
        QFile file(store.filePath());
        FUZZ_CHECK(file.open(QIODevice::ReadOnly));
        const std::optional<QJsonObject> after = objectOf(file.readAll());
        FUZZ_CHECK(after);
        for (auto it = before->begin(); it != before->end(); ++it) {
            if (it.key() != QStringLiteral("Folder") && it.key() != QStringLiteral("Mode"))
                FUZZ_CHECK(after->value(it.key()) == it.value());
        }
    }
    QFile::remove(store.filePath() + QStringLiteral(".corrupt"));
    return 0;
}
