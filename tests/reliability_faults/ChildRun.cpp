#include "ChildRun.h"

#include "FaultsData.h"

#include "tests/support/TestEnvironment.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace faults {
namespace {

void setFolderEnvironment(const std::string &folder)
{
    for (const char *sub : {"/home", "/config", "/data", "/runtime"})
        mkdir((folder + sub).c_str(), 0700);
    setenv("HOME", (folder + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (folder + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

std::string unescape(const std::string &text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            plain += text[i + 1] == 'n' ? '\n' : text[i + 1];
            ++i;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

} // namespace

bool ChildOutcome::showedBox(const std::string &part) const
{
    for (const std::string &box : boxes) {
        if (box.find(part) != std::string::npos)
            return true;
    }
    return false;
}

ChildRun::ChildRun(const std::string &folder, const std::vector<std::string> &arguments,
                   const std::function<void()> &beforeExec)
    : m_logPath(folder + "/child.log")
{
    mkdir(folder.c_str(), 0755);
    // A child that died before its start signal must not end the test.
    signal(SIGPIPE, SIG_IGN);
    int out[2], in[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    if (pipe2(in, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return;
    }
    std::vector<std::string> args{testenv::binDir() + "/karvello_transfer_child"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    m_pid = fork();
    if (m_pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        const int log = open(m_logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (log >= 0)
            dup2(log, 2);
        // First, so that a child running as another user makes its folders
        // as that user.
        if (beforeExec)
            beforeExec();
        setFolderEnvironment(folder);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(in[0]);
    m_out = out[0];
    m_in = in[1];
}

ChildRun::~ChildRun()
{
    if (m_pid > 0) {
        kill();
        finish();
    }
    if (m_out >= 0)
        close(m_out);
    if (m_in >= 0)
        close(m_in);
}

bool ChildRun::readLine(std::string &line)
{
    for (;;) {
        const auto end = m_pending.find('\n');
        if (end != std::string::npos) {
            line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            m_lines.push_back(line);
            return true;
        }
        if (m_out < 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(m_out, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(m_out);
            m_out = -1;
            return false;
        }
        m_pending.append(buffer, size_t(n));
    }
}

// Waits for a report that starts with `prefix` and whose number after it is
// at least `atLeast`.
bool ChildRun::waitFor(const std::string &prefix, long atLeast)
{
    std::string line;
    while (readLine(line)) {
        if (line.rfind(prefix, 0) == 0 && std::atol(line.c_str() + prefix.size()) >= atLeast)
            return true;
    }
    return false;
}

bool ChildRun::waitForProgress(long atLeast)
{
    return waitFor("progress ", atLeast);
}

bool ChildRun::waitUntilReady()
{
    return waitFor("ready");
}

void ChildRun::release()
{
    if (m_in >= 0) {
        (void)!write(m_in, "go\n", 3);
        close(m_in);
        m_in = -1;
    }
}

void ChildRun::kill()
{
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
}

ChildOutcome ChildRun::finish()
{
    ChildOutcome outcome;
    // A child still waiting for its start sees the end of its input instead.
    if (m_in >= 0) {
        close(m_in);
        m_in = -1;
    }
    std::string line;
    while (readLine(line)) {
    }
    if (m_pid > 0) {
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        m_pid = -1;
    }
    for (const std::string &record : m_lines) {
        const auto space = record.find(' ');
        const std::string key = record.substr(0, space);
        const std::string value = space == std::string::npos ? std::string() : unescape(record.substr(space + 1));
        if (key == "result")
            outcome.result = std::atoi(value.c_str());
        else if (key == "counts")
            std::istringstream(value) >> outcome.records >> outcome.successes >> outcome.errors;
        else if (key == "message")
            outcome.message = value;
        else if (key == "box")
            outcome.boxes.push_back(value);
    }
    outcome.log = readFile(m_logPath);
    return outcome;
}

std::vector<std::string> childArguments(const std::string &database, const std::string &mode,
                                        const std::string &table, const std::string &csv,
                                        const std::vector<std::string> &more)
{
    std::vector<std::string> args{"db=" + database, "user=SCOTT", "password=tiger", "mode=" + mode,
                                  "table=" + table, "csv=" + csv};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

ChildOutcome runChild(const std::string &folder, const std::vector<std::string> &arguments,
                      const std::function<void()> &beforeExec)
{
    ChildRun child(folder, arguments, beforeExec);
    return child.finish();
}

} // namespace faults
