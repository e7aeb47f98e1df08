#include "joblist/TfmJob.h"

#include "platform/Forms.h"

TfmJob::TfmJob(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("JobList"));
    setFont(platform::formFont());
    setGeometry(321, 183, 396, 406);
    setMinimumSize(272, 118);
}
