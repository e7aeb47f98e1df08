#include "platform/UserStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::UserStore;
using Status = UserStore::ReadStatus;

namespace {

// Each test has its own key, so the files of one never meet another's.
QString keyForThisTest()
{
    return QStringLiteral("Software\\VORLIK\\Karvello\\")
           + QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QByteArray readRaw(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(UserStore, KeyPathMapsToOneJsonFileUnderTheConfigFolder)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_EQ(UserStore("Software\\VORLIK\\Karvello\\List-1").filePath(),
              config + "/VORLIK/Karvello/List-1.json");
    EXPECT_EQ(UserStore("Software\\..\\x").filePath(), config + "/_/x.json");
}

TEST(UserStore, ReadsOnlyStringsAsStringsAnd32BitIntegersAsIntegers)
{
    UserStore store(keyForThisTest());
    writeRaw(store.filePath(), R"({
        "text": "区切り,", "empty": "", "digits": "12",
        "int": 42, "min": -2147483648, "max": 2147483647,
        "over": 2147483648, "under": -2147483649, "float": 1.5, "whole": 1.0,
        "huge": 123456789012345678901234567890, "array": [1], "object": {},
        "bool": true, "null": null
    })");

    struct Case {
        const char *name;
        Status asString;
        const char *stringValue;
        Status asInteger;
        int32_t integerValue;
    };
    const Status U = Status::Unreadable;
    const Case cases[] = {
        {"text", Status::Ok, "区切り,", U, 0},
        {"empty", Status::Ok, "", U, 0},
        {"digits", Status::Ok, "12", U, 0},
        {"int", U, "", Status::Ok, 42},
        {"min", U, "", Status::Ok, INT32_MIN},
        {"max", U, "", Status::Ok, INT32_MAX},
        {"over", U, "", U, 0},
        {"under", U, "", U, 0},
        {"float", U, "", U, 0},
        {"whole", U, "", Status::Ok, 1}, // JSON has numbers; an integral one is an integer
        {"huge", U, "", U, 0},
        {"array", U, "", U, 0},
        {"object", U, "", U, 0},
        {"bool", U, "", U, 0},
        {"null", U, "", U, 0},
        {"absent", Status::Missing, "", Status::Missing, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString s = QStringLiteral("untouched");
        int32_t i = -7;
        EXPECT_EQ(store.readString(c.name, &s), c.asString);
        EXPECT_EQ(s, c.asString == Status::Ok ? QString::fromUtf8(c.stringValue) : QStringLiteral("untouched"));
        EXPECT_EQ(store.readInteger(c.name, &i), c.asInteger);
        EXPECT_EQ(i, c.asInteger == Status::Ok ? c.integerValue : -7);
        EXPECT_EQ(store.valueExists(c.name), c.asString != Status::Missing);
    }
}

TEST(UserStore, MissingFileReadsAsMissingValues)
{
    UserStore store(keyForThisTest());
    QString s;
    int32_t i = 0;
    EXPECT_EQ(store.readString("USER", &s), Status::Missing);
    EXPECT_EQ(store.readInteger("HeadOn", &i), Status::Missing);
    EXPECT_FALSE(QFileInfo::exists(store.filePath()));
}

TEST(UserStore, ValuesWrittenOneByOneKeepTheOthers)
{
    UserStore store(keyForThisTest());
    // A value this program does not know, written by a later version.
    writeRaw(store.filePath(), R"({"Future": [1, 2]})");

    ASSERT_TRUE(store.writeString("USER", "scott"));
    ASSERT_TRUE(store.writeInteger("AutoCmtCnt", 500));
    ASSERT_TRUE(store.writeString("Separator", "\t"));
    ASSERT_TRUE(store.writeInteger("USER", -1)); // a value may change its type

    UserStore reopened(keyForThisTest());
    QString s;
    int32_t i = 0;
    EXPECT_EQ(reopened.readInteger("USER", &i), Status::Ok);
    EXPECT_EQ(i, -1);
    EXPECT_EQ(reopened.readString("USER", &s), Status::Unreadable);
    EXPECT_EQ(reopened.readInteger("AutoCmtCnt", &i), Status::Ok);
    EXPECT_EQ(i, 500);
    EXPECT_EQ(reopened.readString("Separator", &s), Status::Ok);
    EXPECT_EQ(s, "\t");
    EXPECT_TRUE(reopened.valueExists("Future"));
}

TEST(UserStore, FileIsReadableByItsOwnerOnly)
{
    UserStore store("Software\\PrivateCheck\\Karvello\\List-1");
    ASSERT_TRUE(store.writeString("CONN", "orcl"));
    ASSERT_TRUE(store.writeString("USER", "scott")); // a rewrite keeps the mode
    const QString file = store.filePath();
    EXPECT_EQ(modeOf(file), 0600);
    EXPECT_EQ(modeOf(QFileInfo(file).path()), 0700);
    EXPECT_EQ(modeOf(QFileInfo(file).path() + "/.."), 0700);
}

TEST(UserStore, CorruptFileReadsAsUnreadableAndAWriteStartsAfreshKeepingACopy)
{
    UserStore store(keyForThisTest());
    const QByteArray garbage = "{\"USER\": \"scott\", \"CONN\": tru";
    writeRaw(store.filePath(), garbage);

    QString s;
    EXPECT_EQ(store.readString("USER", &s), Status::Unreadable);
    EXPECT_FALSE(store.valueExists("USER"));

    ASSERT_TRUE(store.writeString("CONN", "orcl"));
    EXPECT_EQ(store.readString("CONN", &s), Status::Ok);
    EXPECT_EQ(s, "orcl");
    EXPECT_EQ(store.readString("USER", &s), Status::Missing);
    EXPECT_EQ(readRaw(store.filePath() + ".corrupt"), garbage);
}

TEST(UserStore, WriteThatCannotReachTheFileFailsAndChangesNothing)
{
    // A file stands where the key's folder should be.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    writeRaw(config + "/Blocked", "not a folder");
    UserStore store("Software\\Blocked\\Karvello\\List-1");
    EXPECT_FALSE(store.writeString("USER", "scott"));
    EXPECT_EQ(readRaw(config + "/Blocked"), "not a folder");

    // A folder stands where the file should be: it is neither read nor replaced.
    UserStore shadowed(keyForThisTest());
    QDir().mkpath(shadowed.filePath());
    QString s;
    EXPECT_EQ(shadowed.readString("USER", &s), Status::Unreadable);
    EXPECT_FALSE(shadowed.writeString("USER", "scott"));
    EXPECT_TRUE(QFileInfo(shadowed.filePath()).isDir());
}
