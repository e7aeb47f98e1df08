// The settings kept between runs: what odd stored values read as, and what a
// close leaves for the next start.
#include "AppFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QSpinBox>
#include <functional>

namespace {

using Settings = AppFixture;

void writeRawStore(const QByteArray &json)
{
    const QString path = settingsStore().filePath();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(json);
}

struct StoredCase {
    const char *name;
    QByteArray json;
    std::function<bool(const TfmMain &)> holds;
};

TEST_F(Settings, OddStoredValuesReadAsTheirDefaultsOrClamped)
{
    const StoredCase cases[] = {
        {"countZeroIsOne", R"({"AutoCmtCnt": 0})", [](const TfmMain &w) { return w.udCmt->value() == 1; }},
        {"countAboveRange", R"({"AutoCmtCnt": 20000})", [](const TfmMain &w) { return w.udCmt->value() == 10000; }},
        {"countAsText", R"({"AutoCmtCnt": "50"})", [](const TfmMain &w) { return w.udCmt->value() == 1; }},
        {"countBeyond32Bits", R"({"AutoCmtCnt": 4294967296})", [](const TfmMain &w) { return w.udCmt->value() == 1; }},
        {"flagAnyNonZero", R"({"HeadOn": 7, "TruncOn": -1})",
         [](const TfmMain &w) { return w.cbHead->isChecked() && w.cbTruncate->isChecked(); }},
        {"flagAsText", R"({"HeadOn": "1"})", [](const TfmMain &w) { return !w.cbHead->isChecked(); }},
        {"escBreakOff", R"({"EscBreak": 0})", [](const TfmMain &w) { return !w.cbBreak->isChecked(); }},
        {"escBreakUnreadable", R"({"EscBreak": [1]})", [](const TfmMain &w) { return w.cbBreak->isChecked(); }},
        {"separatorShownWhole", R"({"Separator": ";|", "Distinction": "'"})",
         [](const TfmMain &w) { return w.edSep->text() == ";|" && w.edDelim->text() == "'"; }},
        {"emptySeparatorAndQuoteComeBack", R"({"Separator": "", "Distinction": ""})",
         [](const TfmMain &w) { return w.edSep->text() == "," && w.edDelim->text() == "\""; }},
        {"unreadableSeparatorKeepsTheField", R"({"Separator": 9, "Distinction": 1.5})",
         [](const TfmMain &w) { return w.edSep->text() == "," && w.edDelim->text() == "\""; }},
        {"folder", R"({"Folder": "/data/in/"})",
         [](const TfmMain &w) { return w.dlgOpen.initialDir == "/data/in/" && w.dlgSave.initialDir == "/data/in/"; }},
        {"corruptFile", "{not json", [](const TfmMain &w) { return w.cbBreak->isChecked() && w.udCmt->value() == 1; }},
    };
    for (const StoredCase &c : cases) {
        writeRawStore(c.json);
        auto window = start();
        EXPECT_TRUE(c.holds(*window)) << c.name;
    }
}

TEST_F(Settings, UnreadableLoginValuesGiveAnEmptyDialog)
{
    writeRawStore(R"({"USER": 12, "CONN": null})");
    start();
    EXPECT_EQ(login.user, QString());
    EXPECT_EQ(login.conn, QString());
}

TEST_F(Settings, ANextStartFindsWhatTheLastCloseLeft)
{
    login.accept(QStringLiteral("SCOTT"), QStringLiteral("tiger"), QStringLiteral("db"));
    {
        auto window = start();
        window->cbHead->setChecked(true);
        window->cbAutoCmt->setChecked(true);
        window->cbBreak->setChecked(false);
        window->udCmt->setValue(500);
        window->edSep->setText(QStringLiteral("\t"));
        window->edDelim->clear();
        window->edCSV->setText(QStringLiteral("/data/in/orders.csv"));
        window->close();
    }
    {
        login.cancel();
        auto window = start();
        EXPECT_EQ(login.user, QStringLiteral("SCOTT"));
        EXPECT_EQ(login.password, QString());
        EXPECT_EQ(login.conn, QStringLiteral("db"));
        EXPECT_EQ(login.focus, QStringLiteral("edPassword"));
        EXPECT_TRUE(window->cbHead->isChecked());
        EXPECT_TRUE(window->cbAutoCmt->isChecked());
        EXPECT_FALSE(window->cbBreak->isChecked());
        EXPECT_EQ(window->udCmt->value(), 500);
        EXPECT_EQ(window->edSep->text(), QStringLiteral("\t"));
        EXPECT_EQ(window->edDelim->text(), QStringLiteral("\"")) << "an empty quote comes back as the double quote";
        EXPECT_EQ(window->dlgOpen.initialDir, QStringLiteral("/data/in/"));
        // A bare file name at close keeps the folder stored before.
        window->edCSV->setText(QStringLiteral("orders.csv"));
        window->close();
    }
    QString folder;
    settingsStore().readString(QStringLiteral("Folder"), &folder);
    EXPECT_EQ(folder, QStringLiteral("/data/in/"));
}

} // namespace
