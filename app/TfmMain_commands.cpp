// The main window's Count and ReConnect buttons.
#include "app/RegSettings.h"
#include "app/TfmMain.h"
#include "oracle/SqlName.h"
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"

#include <QLineEdit>
#include <optional>

void TfmMain::pbCountClick()
{
    if (busy || !tableReady)
        return;
    const QString table = edTable->text();
    OCIcur->SQL = "select count(*) from " + SqlTableName(table.toLocal8Bit().toStdString());
    if (!OCIcur->Execute()) {
        platform::showMessage(this, OCIcur->LastError, platform::MsgIcon::Warning, platform::MsgButtons::Ok);
        return;
    }
    std::optional<platform::WaitCursor> wait(std::in_place);
    const bool fetched = OCIcur->Fetch() && !OCIcur->Row().empty();
    wait.reset();
    if (!fetched) {
        platform::showMessage(this, QStringLiteral("カウントを取れません。"), platform::MsgIcon::Warning,
                              platform::MsgButtons::Ok);
        return;
    }
    // The count as the database wrote it.
    const QString count = QString::fromLocal8Bit(OCIcur->Row().front());
    platform::showMessage(this,
                          QStringLiteral("テーブル [") + table + QStringLiteral("] には\n") + count
                              + QStringLiteral("件\n") + QStringLiteral("のデータがあります。"),
                          platform::MsgIcon::Information, platform::MsgButtons::Ok);
}

// A new session starts without a table or a file. When the logon fails, the
// values of the old one are put back; if that session is still open it goes
// on as if nothing happened.
void TfmMain::pbConnectClick()
{
    if (busy)
        return;
    const QString user = OCI->UserID;
    const QString password = OCI->Password;
    const QString conn = OCI->ConnStr;
    OCI->Password.clear();

    if (OCI->Login()) {
        edTable->clear();
        edCSV->clear();
        SetSessionControls(true);
        showSessionCaption(true);
        RegSettings(false, LoginSettings);
        ClearPreview();
        return;
    }

    OCI->UserID = user;
    OCI->Password = password;
    OCI->ConnStr = conn;
    if (OCI->connected())
        return;
    edTable->clear();
    edCSV->clear();
    SetSessionControls(false);
    showSessionCaption(false);
    ClearPreview();
    if (!OCI->LastError.isEmpty())
        platform::showMessage(this, OCI->LastError, platform::MsgIcon::Error, platform::MsgButtons::Ok, true);
}
