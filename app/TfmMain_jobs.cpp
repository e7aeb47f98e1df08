// The main window's buttons of the job list: showing the list, and adding the
// table and CSV file of the fields to it.
#include "app/Globals.h"
#include "app/TfmMain.h"
#include "joblist/TfmJob.h"
#include "platform/MessageBox.h"

#include <QLineEdit>

void TfmMain::pbJobListClick()
{
    if (!fmJob)
        return;
    fmJob->show();
    fmJob->raise();
    fmJob->activateWindow();
}

void TfmMain::pbJobAddClick()
{
    const auto warn = [this](const QString &text) {
        platform::showMessage(this, text, platform::MsgIcon::Warning, platform::MsgButtons::Ok);
    };
    if (edTable->text().isEmpty()) {
        warn(QStringLiteral("テーブル名を入力してください。"));
        return;
    }
    if (edCSV->text().isEmpty()) {
        warn(QStringLiteral("CSVファイル名を入力してください。"));
        return;
    }
    if (fmJob && !fmJob->AddJob(edTable->text().toLocal8Bit().toStdString(), edCSV->text().toLocal8Bit().toStdString()))
        warn(QStringLiteral("このテーブルは既に登録されています。"));
}
