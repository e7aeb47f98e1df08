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
#include <functional>
#include <sys/stat.h>

namespace {

// The window's options in one line: header, time, truncate, auto-commit,
// ESC, the commit interval, the separator and the quote character.
std::string options(const TfmMain &w)
{
    return std::to_string(w.cbHead->isChecked()) + std::to_string(w.cbTime->isChecked())
           + std::to_string(w.cbTruncate->isChecked()) + std::to_string(w.cbAutoCmt->isChecked())
           + std::to_string(w.cbBreak->isChecked()) + " " + std::to_string(w.udCmt->value()) + " "
           + w.edSep->text().toStdString() + w.edDelim->text().toStdString();
}
const std::string kFirstRunOptions = "00001 1 ,\"";

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
        EXPECT_EQ(options(*window), kFirstRunOptions);

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

TEST_F(BadSettings, NoFileWhereTheFileShouldBeIsLeftAlone)
{
    window.reset();
    struct Case {
        const char *name;
        std::function<void(const QString &path)> make;
        std::function<bool(const QString &path)> stillThere;
    };
    const Case cases[] = {
        {"a folder", [](const QString &p) { QDir().mkpath(p + QStringLiteral("/inside")); },
         [](const QString &p) { return QFileInfo(p + QStringLiteral("/inside")).isDir(); }},
        {"a named pipe", [](const QString &p) { ::mkfifo(p.toLocal8Bit().constData(), 0600); },
         [](const QString &p) {
             struct stat st {};
             return ::stat(p.toLocal8Bit().constData(), &st) == 0 && S_ISFIFO(st.st_mode);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settingsPath());
        QDir().mkpath(QFileInfo(settingsPath()).path());
        c.make(settingsPath());

        start();
        ASSERT_TRUE(window->OCI->connected());
        EXPECT_EQ(login.user, QString());
        window->close();
        window.reset();

        EXPECT_TRUE(c.stillThere(settingsPath()));
        EXPECT_FALSE(QFile::exists(settingsPath() + QStringLiteral(".corrupt")));
        QDir(settingsPath()).removeRecursively();
        QFile::remove(settingsPath());
    }
}

} // namespace
