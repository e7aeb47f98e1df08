#include "EngineClient.h"

#include "tests/support/TestEnvironment.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace enginetest {
namespace {

const oci_text *text(const std::string &s)
{
    return reinterpret_cast<const oci_text *>(s.c_str());
}

int outcome(oci_sword result, const cda_def &area)
{
    if (result == 0)
        return 0;
    return area.rc != 0 ? area.rc : -1;
}

[[noreturn]] void execChild(const std::vector<std::string> &args,
                            const std::vector<std::pair<std::string, std::string>> &env, int in, int out, int err)
{
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const auto &[name, value] : env)
        setenv(name.c_str(), value.c_str(), 1);
    std::vector<char *> argv;
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

// Feeds the input and drains both outputs at once, so a child that writes a
// lot before reading everything never blocks either side.
void pump(int in, int out, int err, const std::string &input, ProcessResult *result)
{
    std::size_t written = 0;
    if (input.empty()) {
        close(in);
        in = -1;
    }
    while (out >= 0 || err >= 0) {
        pollfd fds[3] = {{in, POLLOUT, 0}, {out, POLLIN, 0}, {err, POLLIN, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR)
            break;
        if (in >= 0 && (fds[0].revents & (POLLOUT | POLLERR | POLLHUP))) {
            ssize_t n = write(in, input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n < 0 || written == input.size()) {
                close(in);
                in = -1;
            }
        }
        int *fdOf[2] = {&out, &err};
        std::string *sink[2] = {&result->out, &result->err};
        for (int i = 0; i < 2; ++i) {
            if (*fdOf[i] < 0 || !(fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            ssize_t n = read(*fdOf[i], buffer, sizeof buffer);
            if (n > 0) {
                sink[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(*fdOf[i]);
                *fdOf[i] = -1;
            }
        }
    }
    if (in >= 0)
        close(in);
}

} // namespace

ProcessResult runProgram(const std::vector<std::string> &args, const std::string &input,
                         const std::vector<std::pair<std::string, std::string>> &env)
{
    ProcessResult result;
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe2(inPipe, O_CLOEXEC) || pipe2(outPipe, O_CLOEXEC) || pipe2(errPipe, O_CLOEXEC)) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return result;
    }
    pid_t pid = fork();
    if (pid == 0)
        execChild(args, env, inPipe[0], outPipe[1], errPipe[1]);
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    pump(inPipe[1], outPipe[0], errPipe[0], input, &result);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string karvelloDbPath()
{
    return testenv::binDir() + "/karvello-db";
}

void createUser(const std::string &database, const std::string &user, const std::string &password)
{
    ProcessResult r =
        runProgram({karvelloDbPath(), "create-user", "--db", database, "--password-stdin", user}, password + "\n");
    ASSERT_EQ(0, r.status) << "create-user " << user << ": " << r.err;
}

int functionCodeOf(const cda_def &area)
{
    return reinterpret_cast<const unsigned char *>(&area)[OCI_CDA_FC_OFFSET];
}

int returnCodeOf(const cda_def &area)
{
    uint16_t rc;
    std::memcpy(&rc, reinterpret_cast<const unsigned char *>(&area) + OCI_CDA_RC_OFFSET, sizeof rc);
    return rc;
}

Client::~Client()
{
    logoff();
}

int Client::logon(const std::string &database, const std::string &user, const std::string &password)
{
    int rc = outcome(olog(&lda, hda.data, text(user), -1, text(password), -1, text(database), -1, 0), lda);
    if (rc)
        return rc;
    m_loggedOn = true;
    rc = outcome(oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1), cda);
    m_open = rc == 0;
    return rc;
}

int Client::logoff()
{
    if (m_open)
        oclose(&cda);
    m_open = false;
    if (!m_loggedOn)
        return 0;
    m_loggedOn = false;
    return outcome(ologof(&lda), lda);
}

int Client::run(const std::string &sql, Rows *rows)
{
    return runBound(sql, {}, rows);
}

int Client::runBound(const std::string &sql, const std::vector<std::string> &values, Rows *rows)
{
    if (int rc = outcome(oparse(&cda, text(sql), -1, 0, 1), cda))
        return rc;
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto *value = reinterpret_cast<oci_ub1 *>(const_cast<char *>(values[i].c_str()));
        oci_sword result = obndrn(&cda, static_cast<oci_sword>(i + 1), value,
                                  static_cast<oci_sword>(values[i].size() + 1), OCI_EXT_STRING, -1, nullptr,
                                  nullptr, 0, -1);
        if (int rc = outcome(result, cda))
            return rc;
    }
    if (cda.ft == OCI_FT_SELECT)
        return fetchAll(rows);
    return outcome(oexec(&cda), cda);
}

// Describes, defines, executes and fetches the parsed query.
int Client::fetchAll(Rows *rows)
{
    constexpr int kBufferSize = 4096;
    std::vector<std::vector<oci_ub1>> buffers;
    for (oci_sword pos = 1;; ++pos) {
        oci_sb4 size = 0;
        oci_sb2 type = 0;
        oci_sb1 name[64];
        oci_sb4 nameLength = sizeof name;
        int rc = outcome(odescr(&cda, pos, &size, &type, name, &nameLength, nullptr, nullptr, nullptr, nullptr), cda);
        if (rc == OCI_ERR_NO_COLUMN)
            break;
        if (rc)
            return rc;
        buffers.emplace_back(kBufferSize);
    }
    std::vector<oci_sb2> indicators(buffers.size());
    for (std::size_t i = 0; i < buffers.size(); ++i) {
        oci_sword result = odefin(&cda, static_cast<oci_sword>(i + 1), buffers[i].data(), kBufferSize, OCI_EXT_STRING,
                                  -1, &indicators[i], nullptr, -1, -1, nullptr, nullptr);
        if (int rc = outcome(result, cda))
            return rc;
    }
    if (int rc = outcome(oexec(&cda), cda))
        return rc;
    for (;;) {
        int rc = outcome(ofetch(&cda), cda);
        if (rc == OCI_ERR_NO_DATA)
            return 0;
        if (rc)
            return rc;
        if (!rows)
            continue;
        Row row;
        for (std::size_t i = 0; i < buffers.size(); ++i)
            row.push_back(indicators[i] == -1 ? kNull : std::string(reinterpret_cast<char *>(buffers[i].data())));
        rows->push_back(row);
    }
}

int Client::exec(const std::string &sql)
{
    int rc = run(sql);
    EXPECT_EQ(0, rc) << sql << "\n" << message(rc);
    return rc;
}

Rows Client::query(const std::string &sql)
{
    Rows rows;
    int rc = run(sql, &rows);
    EXPECT_EQ(0, rc) << sql << "\n" << message(rc);
    return rows;
}

std::string Client::message(int code)
{
    if (code <= 0)
        return code == 0 ? "" : "(a call failed without an error number)";
    char buffer[512];
    oerhms(&lda, static_cast<oci_sb2>(code), reinterpret_cast<oci_text *>(buffer), sizeof buffer);
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

int Client::commit()
{
    return outcome(ocom(&lda), lda);
}

int Client::rollback()
{
    return outcome(orol(&lda), lda);
}

void EngineTest::SetUp()
{
    db = testenv::makeTempDir("db");
    ASSERT_NO_FATAL_FAILURE(createUser(db, "SCOTT", "tiger"));
    int rc = c.logon(db, "SCOTT", "tiger");
    ASSERT_EQ(0, rc) << c.message(rc);
}

std::string EngineTest::messageOf(const std::string &sql)
{
    return c.message(c.run(sql));
}

} // namespace enginetest
