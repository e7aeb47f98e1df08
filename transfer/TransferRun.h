#pragma once
// What the import and the export share while they run: the busy mark, the
// locked controls, and the progress check at every tenth line or row.
#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class TfmMain;

// Marks the main window busy for the life of the guard, so that nothing
// reached through the events processed at a progress check (closing the
// window, a second run, the previews, ReConnect) reuses the cursor or ends
// the session under the run.
class BusyMark {
public:
    explicit BusyMark(TfmMain &main);
    ~BusyMark();
    BusyMark(const BusyMark &) = delete;
    BusyMark &operator=(const BusyMark &) = delete;

private:
    TfmMain &m_main;
};

// Disables the window's two panels and its grid for the life of the guard,
// and enables them again on every path out.
class ControlsLock {
public:
    explicit ControlsLock(TfmMain &main);
    ~ControlsLock();
    ControlsLock(const ControlsLock &) = delete;
    ControlsLock &operator=(const ControlsLock &) = delete;

private:
    TfmMain &m_main;
};

// The check a transfer makes at every tenth line or row: it shows the counts,
// lets the window process its events when ESC may stop the run, and asks
// whether to stop when ESC was pressed.
//
// Showing the counts and processing events is the costly part, so a check
// does it only when the refresh interval has passed since the last one that
// did (and always at the first). The interval is short enough that ESC is
// still honoured at once.
class ProgressCheck {
public:
    explicit ProgressCheck(TfmMain &main);

    // Runs one check with the counts to show in the status bar's panels 1 and
    // 3. True when the person confirmed the cancel: `message` then reads
    // "キャンセルしました。" and cancelRequested stays set. A cancel that the
    // person takes back clears cancelRequested.
    bool cancelConfirmed(int64_t done, int64_t errors, QString &message);

    // Every check refreshes when the interval is 0 (benchmarks of the
    // refresh itself; tests that must see each check).
    static void setRefreshInterval(std::chrono::milliseconds interval);
    static std::chrono::milliseconds refreshInterval();

private:
    TfmMain &m_main;
    QElapsedTimer m_sinceRefresh; // monotonic
};

// Shows `done` in status panel 1 and `errors` in panel 3 and repaints the
// status bar at once.
void ShowCounts(TfmMain &main, int64_t done, int64_t errors);

// The column names in the grid's first row, grid columns 1 to `count` in the
// order the person arranged them: the mapping between fields and columns.
std::vector<std::string> GridColumnNames(TfmMain &main, int count);

// Whether `value` is one of the counts at which a progress check runs.
inline bool atProgressCheck(int64_t value)
{
    return value % 10 == 0;
}
