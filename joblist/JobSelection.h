#pragma once
// What the job list window does with the selected jobs, apart from the
// window: finding them, moving them as one block, deleting them, and giving
// them another folder. The selection marks of the rows are the truth; the
// window's view only mirrors them.
#include <string>

class JobList;

// The first and last selected rows; both -1 when none is selected.
struct SelRange {
    int first = -1;
    int last = -1;
    bool any() const { return first >= 0; }
};

SelRange GetSelRange(const JobList &list);
int selectedCount(const JobList &list);

// Whether the up and down buttons may move the selection: only an unbroken
// run of selected rows moves, and only when a row lies beyond it on that side.
struct MoveStates {
    bool up = false;
    bool down = false;
};
MoveStates moveStates(const JobList &list);

enum class MoveDirection { Up, Down };
// Moves the selected block one place by taking the row next to it to its
// other side; the selected rows stay selected. Does nothing when moveStates
// does not allow the move.
void moveSelectedBlock(JobList &list, MoveDirection direction);

// Removes every selected row.
void deleteSelected(JobList &list);
void selectAll(JobList &list);

// Puts the CSV file of every selected row into `folder`, keeping its file
// name: "/new" and "/a/x.csv" give "/new/x.csv"; "/" gives "/x.csv".
void moveSelectedToFolder(JobList &list, const std::string &folder);
