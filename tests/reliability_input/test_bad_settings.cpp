// A settings file that is broken or holds what the program never writes:
// start-up goes on with the defaults and says nothing, the login dialog
// comes as on a first run, and the broken bytes are kept aside once the
// program has something to write.
#include "BadInputFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSpinBox>

namespace {

class BadSettings : public BadInput {
protected:
    void TearDown() override
    {
        fmMain = nullptr;
        QFile::remove(settingsPath() + QStringLiteral(".corrupt"));
        QDir(settingsPath()).removeRecursively();
        QFile::remove(settingsPath());
        BadInput::TearDown();
    }
    static QString settingsPath() { return platform::UserStore(QString::fromLatin1(kSettingsKey)).filePath(); }

    // Starts the program as a person would, logging on as DEMO.
    void start()
    {
        login.accept(QStringLiteral("DEMO"), QStringLiteral("demo"));
        window = std::make_unique<TfmMain>();
        fmMain = window.get();
    }
};

TEST_F(BadSettings, StartUpTakesTheDefaultsAndKeepsTheBrokenFileAside)
{
    window.reset();
    struct Case {
        const char *name;
        std::string bytes;
        bool corrupt; // not a JSON object: kept aside as ".corrupt"
    };
    const Case cases[] = {
        {"an empty file", "", true},
        {"random bytes", randomBytes(4096, 11), true},
        {"NUL bytes", std::string(64, '\0'), true},
        {"JSON cut short", "{\"USER\": \"SCOTT\", \"CONN\": \"pro", true},
        {"a JSON list", "[\"USER\", \"SCOTT\"]", true},
        {"values of the wrong types",
         R"({"USER": 5, "CONN": ["x"], "HeadOn": "yes", "TimeOn": 1.5, "TruncOn": 99999999999,)"
         R"( "AutoCmtOn": null, "AutoCmtCnt": 1e300, "Separator": 7, "Distinction": {}, "EscBreak": "no"})",
         false},
        {"values out of range",
         R"({"AutoCmtCnt": -5, "Separator": "", "Distinction": "", "Folder": "/nonexistent/\u0000/x"})", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir().mkpath(QFileInfo(settingsPath()).path());
        writeFileAt(settingsPath(), c.bytes);

        start();
        ASSERT_TRUE(window->OCI->connected()) << window->OCI->LastError.toStdString();
        EXPECT_EQ(login.user, QString()) << "the login dialog shows no stored user";
        EXPECT_EQ(login.conn, QString());
        EXPECT_FALSE(window->cbHead->isChecked());
        EXPECT_FALSE(window->cbTime->isChecked());
        EXPECT_FALSE(window->cbTruncate->isChecked());
        EXPECT_FALSE(window->cbAutoCmt->isChecked());
        EXPECT_TRUE(window->cbBreak->isChecked());
        EXPECT_EQ(window->udCmt->value(), 1);
        EXPECT_EQ(window->edSep->text(), QStringLiteral(","));
        EXPECT_EQ(window->edDelim->text(), QStringLiteral("\""));

        window->close();
        window.reset();
        fmMain = nullptr;
        EXPECT_EQ(readFile(settingsPath() + QStringLiteral(".corrupt")), c.corrupt ? c.bytes : "(missing)");
        const QJsonObject saved = QJsonDocument::fromJson(QByteArray::fromStdString(readFile(settingsPath()))).object();
        EXPECT_EQ(saved.value(QStringLiteral("USER")).toString(), QStringLiteral("DEMO"));
        EXPECT_EQ(saved.value(QStringLiteral("Separator")).toString(), QStringLiteral(","));
        EXPECT_EQ(saved.value(QStringLiteral("AutoCmtCnt")).toInt(), 1);

        // The next start reads what the last one saved.
        start();
        EXPECT_EQ(login.user, QStringLiteral("DEMO"));
        window.reset();
        QFile::remove(settingsPath() + QStringLiteral(".corrupt"));
    }
}

TEST_F(BadSettings, AFolderWhereTheFileShouldBeIsLeftAlone)
{
    window.reset();
    QFile::remove(settingsPath());
    ASSERT_TRUE(QDir().mkpath(settingsPath() + QStringLiteral("/inside")));

    start();
    ASSERT_TRUE(window->OCI->connected());
    EXPECT_EQ(login.user, QString());
    window->close();
    window.reset();

    EXPECT_TRUE(QFileInfo(settingsPath() + QStringLiteral("/inside")).isDir());
    EXPECT_FALSE(QFile::exists(settingsPath() + QStringLiteral(".corrupt")));
}

} // namespace
