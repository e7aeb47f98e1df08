#pragma once
// Timing and memory figures shared by the benchmarks: wall and CPU time of a
// piece of work, and work run in a child process so that its peak memory is
// its own and sizes or sides do not mix.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <type_traits>
#include <vector>
#include <unistd.h>

namespace bench {

// Wall time is what the benchmarks report; CPU time is shown beside it,
// since on a busy machine it says more about the work itself.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

[[noreturn]] inline void fail(const std::string &what)
{
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

inline double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

inline double seconds(const timeval &t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

class Stopwatch {
public:
    Timing elapsed() const
    {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wall).count(),
                processCpuSeconds() - m_cpu};
    }
    double wall() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wall).count(); }

private:
    std::chrono::steady_clock::time_point m_wall = std::chrono::steady_clock::now();
    double m_cpu = processCpuSeconds();
};

inline void keepBest(Timing &best, const Timing &t, bool first)
{
    best.wall = first ? t.wall : std::min(best.wall, t.wall);
    best.cpu = first ? t.cpu : std::min(best.cpu, t.cpu);
}

inline std::string makeTempFolder(const char *prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        fail("cannot create a temporary folder");
    return pattern;
}

// What a child process gave back, and its own peak memory.
template <typename Result>
struct ChildRun {
    Result result{};
    long peakRssKib = 0;
};

// Runs `work` in a child process and returns what it returned (a plain
// struct, sent back through a pipe) with the child's peak RSS.
template <typename Work>
auto runInChild(Work work) -> ChildRun<decltype(work())>
{
    using Result = decltype(work());
    static_assert(std::is_trivially_copyable_v<Result>);
    int channel[2];
    if (pipe(channel) != 0)
        fail("pipe");
    std::fflush(stdout); // the child must not inherit unwritten output
    pid_t pid = fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0) {
        close(channel[0]);
        Result result = work();
        bool sent = write(channel[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    ChildRun<Result> run;
    bool received = read(channel[0], &run.result, sizeof run.result) == static_cast<ssize_t>(sizeof run.result);
    close(channel[0]);
    // wait4 gives this child's own figures; RUSAGE_CHILDREN would also hold
    // whatever the process waited for before an exec (a build, say).
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail("a measured child process failed");
    run.peakRssKib = usage.ru_maxrss; // kilobytes on Linux
    return run;
}

// Runs a command with its standard output going to `output` (when given)
// and returns its wall time and its own CPU time.
inline Timing runCommand(const std::vector<std::string> &argv, const std::string &output = {})
{
    std::fflush(stdout);
    auto started = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0) {
        if (!output.empty() && !std::freopen(output.c_str(), "w", stdout))
            _exit(126);
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(argv[0] + " failed with status " + std::to_string(status));
    return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

} // namespace bench
