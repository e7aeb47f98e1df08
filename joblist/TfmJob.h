#pragma once
// The job list window: a modeless window that shows, edits and runs the job
// list. Created once at start, hidden when closed.
#include <QWidget>

class TfmJob : public QWidget {
    Q_OBJECT
public:
    explicit TfmJob(QWidget *parent = nullptr);
};
