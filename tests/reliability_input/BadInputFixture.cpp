#include "BadInputFixture.h"

#include "support/SessionRows.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QLineEdit>
#include <linux/capability.h>
#include <random>
#include <sys/syscall.h>
#include <unistd.h>

void BadInput::SetUp()
{
    DemoWindow::SetUp();
    folder = QString::fromStdString(testenv::makeTempDir("bad-input")) + QLatin1Char('/');
}

void BadInput::run(const std::vector<std::string> &statements)
{
    testenv::runStatements(*window, statements);
}

std::vector<std::string> BadInput::rows(const std::string &sql)
{
    return testenv::queryRows(*window, sql);
}

void BadInput::enterTable(const QString &table)
{
    window->edTable->setText(table);
    char enter = 13;
    window->edTableKeyPress(enter);
}

QString BadInput::writeFile(const QString &name, const std::string &bytes)
{
    writeFileAt(path(name), bytes);
    return path(name);
}

void BadInput::writeFileAt(const QString &path, const std::string &bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    EXPECT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

std::string BadInput::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(missing)";
    return file.readAll().toStdString();
}

std::string crlf(const std::vector<std::string> &lines)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

std::string randomBytes(size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char &c : bytes)
        c = char(byte(generator));
    return bytes;
}

namespace {

constexpr unsigned kPermissionBypass = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool capabilities(__user_cap_data_struct data[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool setCapabilities(__user_cap_data_struct data[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

FilePermissionsEnforced::FilePermissionsEnforced()
{
    if (::geteuid() != 0) {
        m_available = true;
        return;
    }
    __user_cap_data_struct data[2]{};
    if (!capabilities(data))
        return;
    m_effective[0] = data[0].effective;
    m_effective[1] = data[1].effective;
    data[0].effective &= ~kPermissionBypass;
    // The raw call changes this thread only, which is the one that opens
    // the files.
    m_dropped = setCapabilities(data);
    m_available = m_dropped;
}

FilePermissionsEnforced::~FilePermissionsEnforced()
{
    if (!m_dropped)
        return;
    __user_cap_data_struct data[2]{};
    if (capabilities(data)) {
        data[0].effective = m_effective[0];
        data[1].effective = m_effective[1];
        setCapabilities(data);
    }
}
