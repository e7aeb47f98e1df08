#pragma once
// The job list as a report list: one line per job with its six columns,
// whole rows selected, several at once, nothing edited in place. The view's
// selection and the rows' selection marks are kept equal both ways, so the
// run control, reading the marks, runs what the person sees selected.
#include <QTreeView>

class JobList;

class JobListView : public QTreeView {
    Q_OBJECT
public:
    explicit JobListView(JobList *jobs, QWidget *parent = nullptr);

signals:
    // A left click anywhere in the list, on a row or beside the rows.
    void listClicked();
    // A left double-click anywhere in the list.
    void listDoubleClicked();
    // Some row's selection mark changed, or selected rows went away.
    void selectionMarksChanged();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void takeViewSelection(const QItemSelection &selected, const QItemSelection &deselected);
    void showMarks(int first, int last);

    JobList *m_jobs;
    // Set while one side is being made equal to the other, so the change it
    // causes there does not come back.
    bool m_syncing = false;
};
