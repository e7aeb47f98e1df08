#include "joblist/TfmJob.h"

#include "app/Globals.h"
#include "app/RadioGroup.h"
#include "app/TfmMain.h"
#include "joblist/JobList.h"
#include "joblist/ListCommands.h"
#include "platform/Forms.h"

TfmJob::TfmJob(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , jobList(new JobList(this))
{
    setWindowTitle(QStringLiteral("JobList"));
    setFont(platform::formFont());
    setGeometry(321, 183, 396, 406);
    setMinimumSize(272, 118);
}

bool TfmJob::AddJob(const std::string &table, const std::string &csv)
{
    return jobList->AddJob(table, csv);
}

void TfmJob::pbSaveClick()
{
    const int mode = fmMain ? fmMain->rgMode->ItemIndex() : 0;
    SaveJobList(this, listDialogs, *jobList, mode);
}

void TfmJob::pbLoadClick()
{
    LoadJobList(this, listDialogs, *jobList, [](int mode) {
        if (fmMain)
            fmMain->rgMode->setItemIndex(mode);
    });
}

// The folder of list files may have been changed by another run of the
// program since the window was last shown.
void TfmJob::showEvent(QShowEvent *event)
{
    listDialogs.ReadListFolder();
    QWidget::showEvent(event);
}
