#include "joblist/JobListView.h"

#include "joblist/JobList.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <set>

namespace {

constexpr int kColumnWidths[JobList::ColumnCount] = {100, 160, 200, 55, 55, 55};

std::set<int> rowsOf(const QItemSelection &selection)
{
    std::set<int> rows;
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    }
    return rows;
}

} // namespace

JobListView::JobListView(JobList *jobs, QWidget *parent)
    : QTreeView(parent)
    , m_jobs(jobs)
{
    setModel(jobs);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(ExtendedSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    for (int column = 0; column < JobList::ColumnCount; ++column)
        header()->resizeSection(column, kColumnWidths[column]);

    // The selection stays as plain to see when the focus is elsewhere, for
    // the buttons act on it.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &JobListView::takeViewSelection);
    connect(jobs, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
                if (roles.isEmpty() || roles.contains(JobList::SelectedRole))
                    showMarks(topLeft.row(), bottomRight.row());
            });
    connect(jobs, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { showMarks(first, last); });
    connect(jobs, &QAbstractItemModel::modelReset, this, [this] { showMarks(0, m_jobs->count() - 1); });
    connect(jobs, &QAbstractItemModel::rowsRemoved, this, &JobListView::selectionMarksChanged);
}

void JobListView::takeViewSelection(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_syncing)
        return;
    {
        QScopedValueRollback guard(m_syncing, true);
        std::set<int> rows = rowsOf(selected);
        rows.merge(rowsOf(deselected));
        for (int row : rows)
            m_jobs->setSelected(row, selectionModel()->isRowSelected(row, {}));
    }
    emit selectionMarksChanged();
}

void JobListView::showMarks(int first, int last)
{
    if (m_syncing)
        return;
    {
        QScopedValueRollback guard(m_syncing, true);
        for (int row = first; row <= last && row < m_jobs->count(); ++row) {
            if (selectionModel()->isRowSelected(row, {}) == m_jobs->isSelected(row))
                continue;
            const auto command = m_jobs->isSelected(row) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
            selectionModel()->select(m_jobs->index(row, 0), command | QItemSelectionModel::Rows);
        }
    }
    emit selectionMarksChanged();
}

void JobListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listClicked();
}

void JobListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
}
