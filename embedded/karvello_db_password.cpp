#include "karvello_db_password.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace kdbtool {
namespace {

// The terminal's settings while echo is off, for the signal handler: a
// Ctrl-C at the prompt must not leave the terminal without echo.
int g_ttyFd = -1;
struct termios g_savedTermios;

void restoreEchoAndReraise(int sig)
{
    if (g_ttyFd >= 0)
        tcsetattr(g_ttyFd, TCSAFLUSH, &g_savedTermios);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

class EchoOff {
public:
    explicit EchoOff(int fd) : m_fd(fd)
    {
        if (tcgetattr(fd, &g_savedTermios) != 0)
            return;
        g_ttyFd = fd;
        m_oldInt = std::signal(SIGINT, restoreEchoAndReraise);
        m_oldTerm = std::signal(SIGTERM, restoreEchoAndReraise);
        struct termios quiet = g_savedTermios;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        m_active = tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(m_fd, TCSAFLUSH, &g_savedTermios);
        if (g_ttyFd >= 0) {
            std::signal(SIGINT, m_oldInt);
            std::signal(SIGTERM, m_oldTerm);
            g_ttyFd = -1;
        }
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    int m_fd;
    bool m_active = false;
    void (*m_oldInt)(int) = SIG_DFL;
    void (*m_oldTerm)(int) = SIG_DFL;
};

bool readLine(int fd, std::string *line)
{
    line->clear();
    char c;
    for (;;) {
        ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return !line->empty();
        if (c == '\n')
            return true;
        *line += c;
    }
}

void stripCarriageReturn(std::string *line)
{
    if (!line->empty() && line->back() == '\r')
        line->pop_back();
}

} // namespace

std::optional<std::string> askPassword(const std::string &prompt, std::string *error)
{
    int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = "no terminal to ask for the password on (use --password-stdin, or USER/PASSWORD with sql)";
        return std::nullopt;
    }
    std::string answer;
    bool ok;
    {
        EchoOff quiet(fd);
        ssize_t written = write(fd, prompt.data(), prompt.size());
        ok = written == static_cast<ssize_t>(prompt.size()) && readLine(fd, &answer);
    }
    close(fd);
    if (!ok) {
        *error = "no password was entered";
        return std::nullopt;
    }
    stripCarriageReturn(&answer);
    return answer;
}

std::optional<std::string> askNewPassword(const std::string &user, std::string *error)
{
    auto first = askPassword("New password for " + user + ": ", error);
    if (!first)
        return std::nullopt;
    if (first->empty()) {
        *error = "the password must not be empty";
        return std::nullopt;
    }
    auto second = askPassword("Repeat the password: ", error);
    if (!second)
        return std::nullopt;
    if (*first != *second) {
        *error = "the two passwords differ; nothing was changed";
        return std::nullopt;
    }
    return first;
}

std::optional<std::string> readPasswordLine(std::string *error)
{
    std::string line;
    if (!std::getline(std::cin, line)) {
        *error = "no password on standard input";
        return std::nullopt;
    }
    stripCarriageReturn(&line);
    if (line.empty()) {
        *error = "the password must not be empty";
        return std::nullopt;
    }
    return line;
}

} // namespace kdbtool
