#include "joblist/JobList.h"

#include "oracle/LocaleText.h"

#include <array>

namespace {

// The member of Job that holds each column, in column order.
constexpr std::array<std::string Job::*, JobList::ColumnCount> kFields{
    &Job::table, &Job::csv, &Job::status, &Job::record, &Job::success, &Job::error};

constexpr std::array<const char *, JobList::ColumnCount> kCaptions{
    "TABLE", "CSV", "STATUS", "Record", "Success", "Error"};

bool isColumn(int column)
{
    return column >= 0 && column < JobList::ColumnCount;
}

// The three counters are numbers and line up on the right.
int alignmentOf(int column)
{
    return int((column >= JobList::Record ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

// Table names are equal without regard to letter case, in the user's code
// page: the second byte of a double-byte character is never folded.
bool sameTable(const std::string &a, const std::string &b)
{
    return a == b || upperLocal8Bit(a) == upperLocal8Bit(b);
}

} // namespace

JobList::JobList(QObject *parent)
    : QAbstractTableModel(parent)
{
}

const Job &JobList::job(int row) const
{
    static const Job none;
    return hasRow(row) ? m_jobs[size_t(row)] : none;
}

const std::string &JobList::text(int row, Column column) const
{
    static const std::string none;
    return isColumn(column) ? job(row).*kFields[size_t(column)] : none;
}

void JobList::setText(int row, Column column, const std::string &text)
{
    if (!hasRow(row) || !isColumn(column))
        return;
    m_jobs[size_t(row)].*kFields[size_t(column)] = text;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, BytesRole});
}

bool JobList::isSelected(int row) const
{
    return job(row).selected;
}

void JobList::setSelected(int row, bool selected)
{
    if (!hasRow(row) || m_jobs[size_t(row)].selected == selected)
        return;
    m_jobs[size_t(row)].selected = selected;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {SelectedRole});
}

bool JobList::listsTable(const std::string &table) const
{
    for (const Job &job : m_jobs) {
        if (sameTable(job.table, table))
            return true;
    }
    return false;
}

bool JobList::AddJob(const std::string &table, const std::string &csv)
{
    if (listsTable(table))
        return false;
    Job job;
    job.table = table;
    job.csv = csv;
    insertJob(count(), job);
    return true;
}

void JobList::insertJob(int row, const Job &job)
{
    if (row < 0 || row > count())
        return;
    beginInsertRows({}, row, row);
    m_jobs.insert(m_jobs.begin() + row, job);
    endInsertRows();
}

void JobList::removeJob(int row)
{
    if (!hasRow(row))
        return;
    beginRemoveRows({}, row, row);
    m_jobs.erase(m_jobs.begin() + row);
    endRemoveRows();
}

void JobList::replaceAll(std::vector<Job> jobs)
{
    beginResetModel();
    m_jobs = std::move(jobs);
    endResetModel();
}

int JobList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int JobList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JobList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !hasRow(index.row()) || !isColumn(index.column()))
        return {};
    const auto column = Column(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLocal8Bit(text(index.row(), column));
    case BytesRole:
        return QByteArray::fromStdString(text(index.row(), column));
    case SelectedRole:
        return isSelected(index.row());
    case Qt::TextAlignmentRole:
        return alignmentOf(column);
    default:
        return {};
    }
}

QVariant JobList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !isColumn(section))
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kCaptions[size_t(section)]);
    if (role == Qt::TextAlignmentRole)
        return alignmentOf(section);
    return {};
}
