// TfmMain::RegSettings: the login values and the options between runs.
// Each value is read or written on its own; one that cannot be read gives its
// default, one that cannot be written is skipped, and nothing is reported.
#include "app/RegSettings.h"

#include "app/TfmMain.h"
#include "oracle/TOCIctrl.h"
#include "platform/Paths.h"
#include "platform/UserStore.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

using platform::UserStore;

// A missing string reads as empty; one of another type gives `fallback`.
QString readString(const UserStore &store, const char *name, const QString &fallback = {})
{
    QString stored;
    switch (store.readString(QString::fromLatin1(name), &stored)) {
    case UserStore::ReadStatus::Ok:
        return stored;
    case UserStore::ReadStatus::Missing:
        return {};
    case UserStore::ReadStatus::Unreadable:
        break;
    }
    return fallback;
}

int32_t readInteger(const UserStore &store, const char *name, int32_t fallback)
{
    int32_t value = 0;
    return store.readInteger(QString::fromLatin1(name), &value) == UserStore::ReadStatus::Ok ? value : fallback;
}

void readFlag(const UserStore &store, const char *name, QCheckBox *box, bool fallback)
{
    box->setChecked(readInteger(store, name, fallback ? 1 : 0) != 0);
}

void writeFlag(UserStore &store, const char *name, const QCheckBox *box)
{
    store.writeInteger(QString::fromLatin1(name), box->isChecked() ? 1 : 0);
}

void writeString(UserStore &store, const char *name, const QString &value)
{
    store.writeString(QString::fromLatin1(name), value);
}

} // namespace

void TfmMain::RegSettings(bool read, int mask)
{
    UserStore store(QString::fromLatin1(kSettingsKey));
    if (read) {
        if (mask & LoginSettings) {
            OCI->UserID = readString(store, "USER");
            OCI->Password.clear();
            OCI->ConnStr = readString(store, "CONN");
        }
        if (mask & OptionSettings) {
            dlgOpen.initialDir = readString(store, "Folder");
            readFlag(store, "HeadOn", cbHead, false);
            readFlag(store, "TimeOn", cbTime, false);
            readFlag(store, "TruncOn", cbTruncate, false);
            readFlag(store, "AutoCmtOn", cbAutoCmt, false);
            udCmt->setValue(std::clamp<int32_t>(readInteger(store, "AutoCmtCnt", 1), 1, 10000));
            // An unreadable separator or quote leaves the field as it was.
            edSep->setText(readString(store, "Separator", edSep->text()));
            edDelim->setText(readString(store, "Distinction", edDelim->text()));
            readFlag(store, "EscBreak", cbBreak, true);
            // A field left empty would mean no separator or no quote at all.
            if (edSep->text().isEmpty())
                edSep->setText(QStringLiteral(","));
            if (edDelim->text().isEmpty())
                edDelim->setText(QStringLiteral("\""));
        }
        return;
    }

    if (mask & LoginSettings) {
        writeString(store, "USER", OCI->UserID);
        writeString(store, "CONN", OCI->ConnStr);
    }
    if (mask & OptionSettings) {
        // A bare file name keeps the folder stored before.
        const QString folder = platform::folderPart(edCSV->text());
        if (!folder.isEmpty())
            writeString(store, "Folder", folder);
        writeFlag(store, "HeadOn", cbHead);
        writeFlag(store, "TimeOn", cbTime);
        writeFlag(store, "TruncOn", cbTruncate);
        writeFlag(store, "AutoCmtOn", cbAutoCmt);
        store.writeInteger(QStringLiteral("AutoCmtCnt"), udCmt->value());
        writeString(store, "Separator", edSep->text());
        writeString(store, "Distinction", edDelim->text());
        writeFlag(store, "EscBreak", cbBreak);
    }
}
