#include "joblist/JobSelection.h"

#include "joblist/JobList.h"

namespace {

// The file-name part of a path held as bytes. In the user's code page no
// second byte of a two-byte character is a "/", so the search is safe.
std::string fileNameOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

SelRange GetSelRange(const JobList &list)
{
    SelRange range;
    for (int row = 0; row < list.count(); ++row) {
        if (!list.isSelected(row))
            continue;
        if (range.first < 0)
            range.first = row;
        range.last = row;
    }
    return range;
}

int selectedCount(const JobList &list)
{
    int count = 0;
    for (int row = 0; row < list.count(); ++row)
        count += list.isSelected(row) ? 1 : 0;
    return count;
}

MoveStates moveStates(const JobList &list)
{
    const SelRange range = GetSelRange(list);
    if (!range.any())
        return {};
    const bool unbroken = selectedCount(list) == range.last - range.first + 1;
    if (!unbroken)
        return {};
    return {range.first > 0, range.last < list.count() - 1};
}

void moveSelectedBlock(JobList &list, MoveDirection direction)
{
    const bool up = direction == MoveDirection::Up;
    const MoveStates allowed = moveStates(list);
    if (!(up ? allowed.up : allowed.down))
        return;
    const SelRange range = GetSelRange(list);
    const int neighbour = up ? range.first - 1 : range.last + 1;
    Job moved = list.job(neighbour);
    moved.selected = false;
    list.removeJob(neighbour);
    // With the neighbour gone, `last` is the place just below the block and
    // `first` the place just above it.
    list.insertJob(up ? range.last : range.first, moved);
}

void deleteSelected(JobList &list)
{
    for (int row = list.count() - 1; row >= 0; --row) {
        if (list.isSelected(row))
            list.removeJob(row);
    }
}

void selectAll(JobList &list)
{
    for (int row = 0; row < list.count(); ++row)
        list.setSelected(row, true);
}

void moveSelectedToFolder(JobList &list, const std::string &folder)
{
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    for (int row = 0; row < list.count(); ++row) {
        if (list.isSelected(row))
            list.setText(row, JobList::Csv, prefix + fileNameOf(list.text(row, JobList::Csv)));
    }
}
