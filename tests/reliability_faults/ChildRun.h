#pragma once
// The parent's side of karvello_transfer_child: starts it with its own
// folders, reads what it reports, kills it or lets it finish.
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace faults {

// What a finished (or killed) child reported.
struct ChildOutcome {
    int status = -1;     // exit status, or 128 + the signal that ended it
    int result = -1;     // the run's result code; -1 when it never said
    long long records = -1, successes = -1, errors = -1;
    std::string message; // line breaks as "\n"
    std::vector<std::string> boxes;
    std::string log;     // its standard error, for failure messages

    bool showedBox(const std::string &part) const;
};

// One run of the child program. `folder` gets its HOME and XDG folders and
// its standard error; `arguments` are its key=value options. `beforeExec`
// runs in the forked process just before the program starts (limits,
// signals, another user).
class ChildRun {
public:
    ChildRun(const std::string &folder, const std::vector<std::string> &arguments,
             const std::function<void()> &beforeExec = {});
    ~ChildRun();
    ChildRun(const ChildRun &) = delete;
    ChildRun &operator=(const ChildRun &) = delete;

    // Reads the child's reports until it shows a progress count of at least
    // `atLeast`; false when it ended first.
    bool waitForProgress(long atLeast = 0);
    // For a child started with gate=1: waits until it is ready, and lets it
    // start its run.
    bool waitUntilReady();
    void release();
    void kill();
    // Reads the rest, waits for the end and parses the reports.
    ChildOutcome finish();

private:
    bool readLine(std::string &line);
    bool waitFor(const std::string &prefix, long atLeast = 0);

    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    std::string m_pending;
    std::vector<std::string> m_lines;
    std::string m_logPath;
};

// The child's options for a run on `database` as SCOTT/tiger.
std::vector<std::string> childArguments(const std::string &database, const std::string &mode,
                                        const std::string &table, const std::string &csv,
                                        const std::vector<std::string> &more = {});

// Runs the child to its end.
ChildOutcome runChild(const std::string &folder, const std::vector<std::string> &arguments,
                      const std::function<void()> &beforeExec = {});

} // namespace faults
