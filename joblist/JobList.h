#pragma once
// The job list: the ordered jobs of the batch, index 0 at the top. It is the
// model the job list window's view attaches to, and what the run control
// reads each job from and writes each job's results into. Cells are bytes;
// the view shows them decoded with the locale's 8-bit codec.
#include "joblist/Job.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

class JobList : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns in the order the window shows them.
    enum Column { Table, Csv, Status, Record, Success, Error, ColumnCount };
    // data() of any cell of a row under this role: the row's selection mark.
    static constexpr int SelectedRole = Qt::UserRole + 1;
    // data() of a cell under this role: its bytes, as a QByteArray.
    static constexpr int BytesRole = Qt::UserRole + 2;

    explicit JobList(QObject *parent = nullptr);

    int count() const { return int(m_jobs.size()); }
    const std::vector<Job> &jobs() const { return m_jobs; }
    // Row `row`; an empty job when there is no such row.
    const Job &job(int row) const;

    // A cell's bytes; empty when there is no such cell.
    const std::string &text(int row, Column column) const;
    // Changes one cell; does nothing when there is no such cell.
    void setText(int row, Column column, const std::string &text);

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);

    // Appends a job for `table` unless a job for that table is listed already
    // (names compared without regard to letter case; the CSV file does not
    // count). True when the job was added.
    bool AddJob(const std::string &table, const std::string &csv);
    // Puts `job` before row `row` (at the end when `row` is count()).
    void insertJob(int row, const Job &job);
    void removeJob(int row);
    // Replaces every row, as loading a list file does.
    void replaceAll(std::vector<Job> jobs);

    // QAbstractTableModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool hasRow(int row) const { return row >= 0 && row < count(); }
    bool listsTable(const std::string &table) const;

    std::vector<Job> m_jobs;
};
