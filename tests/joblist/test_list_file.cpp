#include "joblist/ListFile.h"
#include "tests/joblist/JobPrinting.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

std::optional<ListFileContents> readBytes(const std::string &bytes)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return readListFile(buffer);
}

Job job(const std::string &table, const std::string &csv)
{
    return makeJob(table, csv);
}

std::string fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<unreadable>");
}

// A device that hands out its bytes and then fails, as a disk can mid-file.
class FailingDevice final : public QIODevice {
public:
    explicit FailingDevice(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_pos >= m_bytes.size())
            return -1;
        const qint64 n = std::min<qint64>(maxSize, m_bytes.size() - m_pos);
        memcpy(data, m_bytes.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_pos = 0;
};

const std::string x9998(9998, 'x');

} // namespace

TEST(ListFile, BytesGiveJobsAndMode)
{
    const std::string x20000(20000, 'x');
    const std::string y9997(9997, 'y');
    struct Case {
        const char *name;
        std::string bytes;
        std::optional<int> mode;
        std::vector<Job> jobs;
    };
    const Case cases[] = {
        {"empty file", "", std::nullopt, {}},
        {"bare 1", "1", 1, {}},
        {"bare 0 with CR LF", "0\r\n", 0, {}},
        {"two jobs", "0\r\nEMP\tC:/data/emp.csv\r\nDEPT\t/data/dept.csv\r\n", 0,
         {job("EMP", "C:/data/emp.csv"), job("DEPT", "/data/dept.csv")}},
        {"no mode line", "EMP\t/e.csv\r\nDEPT\t/d.csv\r\n", std::nullopt, {job("DEPT", "/d.csv")}},
        {"job line taken for the mode", "1EMP\t/e.csv\r\nDEPT\t/d.csv\r\n", 1, {job("DEPT", "/d.csv")}},
        {"rest of line 1 ignored", "0 Import\tA\tB\r\nA\tb\r\n", 0, {job("A", "b")}},
        {"line without TAB", "0\r\nEMP\r\n", 0, {job("EMP", "")}},
        {"A TAB B TAB C", "0\r\nA\tB\tC\r\n", 0, {job("A", "B")}},
        {"leading TAB and empty lines", "0\r\n\tX\r\n\r\n\nB\tb\r\n", 0, {job("B", "b")}},
        {"last line without line end", "0\r\nA\ta\r\nB\tb", 0, {job("A", "a")}},
        {"LF alone ends lines", "1\nA\ta\nB\tb\n", 1, {job("A", "a"), job("B", "b")}},
        {"a CR before CR LF stays", "0\r\nA\ta\r\r\n", 0, {job("A", "a\r")}},
        {"no trimming, no case change", "0\r\n emp \t c.CSV \r\n", 0, {job(" emp ", " c.CSV ")}},
        {"bytes kept as they are", "0\r\n\x83\x65\x81\x5b\x83\x75\x83\x8b\t\x82\xa0.csv\r\n", 0,
         {job("\x83\x65\x81\x5b\x83\x75\x83\x8b", "\x82\xa0.csv")}},
        {"same line twice", "0\r\nA\ta\r\nA\ta\r\n", 0, {job("A", "a"), job("A", "a")}},
        {"20000-byte line in three pieces", "0\r\n" + x20000 + "\r\n", 0,
         {job(x9998, ""), job(x9998, ""), job("xxxx", "")}},
        {"full piece at the end counts", "0\r\n" + x9998, 0, {job(x9998, "")}},
        {"CR LF split by the piece size", "0\r\n" + y9997 + "\r\nB\tb\r\n", 0, {job(y9997, ""), job("B", "b")}},
        {"long line 1 ignored whole", "1" + x20000 + "\r\nA\ta\r\n", 1, {job("A", "a")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ListFileContents> contents = readBytes(c.bytes);
        ASSERT_TRUE(contents);
        EXPECT_EQ(contents->mode, c.mode);
        EXPECT_EQ(contents->jobs, c.jobs);
    }
}

TEST(ListFile, GetFieldSplitsAtEverySeparator)
{
    struct Case {
        const char *text;
        int n;
        const char *expected;
    };
    const Case cases[] = {
        {"", 0, ""},   {"", 1, ""},     {"a\tb", 0, "a"}, {"a\tb", 1, "b"},     {"a\tb", 2, ""},
        {"\tb", 0, ""}, {"\tb", 1, "b"}, {"a\t", 1, ""},  {"a\tb\tc", 2, "c"}, {"a\t\tc", 1, ""},
        {"a", -1, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " #" + std::to_string(c.n));
        EXPECT_EQ(GetField(c.text, '\t', c.n), c.expected);
    }
}

TEST(ListFile, AReadFailureMidFileGivesNothing)
{
    FailingDevice device("0\r\nA\ta\r\nB\tb");
    EXPECT_FALSE(readListFile(device));
}

TEST(ListFile, SavesModeAndEveryJobWithCrLf)
{
    const QString dir = QString::fromStdString(testenv::makeTempDir("save"));
    struct Case {
        const char *name;
        int mode;
        std::vector<Job> jobs;
        std::string bytes;
    };
    Job selectedWithResults = job("DEPT", "/data/dept.csv");
    selectedWithResults.selected = true;
    selectedWithResults.status = "done";
    selectedWithResults.record = "3";
    const Case cases[] = {
        {"empty list", 1, {}, "1\r\n"},
        {"results and marks not saved", 0, {job("EMP", "/data/emp.csv"), selectedWithResults},
         "0\r\nEMP\t/data/emp.csv\r\nDEPT\t/data/dept.csv\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir + u'/' + QString::fromUtf8(c.name) + ".lst";
        ASSERT_TRUE(saveListFile(path, c.mode, c.jobs));
        EXPECT_EQ(fileBytes(path), c.bytes);
    }
}

TEST(ListFile, SaveThenLoadGivesTheSameJobs)
{
    const QString path = QString::fromStdString(testenv::makeTempDir("roundtrip")) + "/jobs.lst";
    const std::vector<Job> jobs{
        job("EMP", "/data/emp.csv"),
        job("\x83\x65\x81\x5b\x83\x75\x83\x8b", "/\x83\x66\x81\x5b\x83\x5e/a.csv"),
        job(" spaced ", " /odd\rname.csv\r"),
        job("NOCSV", ""),
        job("EMP", "/data/emp.csv"),
        job(std::string(9994, 't'), "/c"),      // 9997 bytes: CR and LF fall in two pieces
        job("T", "/" + std::string(9995, 'c')), // 9998 bytes: exactly one piece
    };
    ASSERT_EQ(firstUnwritableJob(jobs), -1);
    ASSERT_TRUE(saveListFile(path, 1, jobs));
    const std::optional<ListFileContents> loaded = readListFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->mode, 1);
    EXPECT_EQ(loaded->jobs, jobs);
}

TEST(ListFile, JobsTheFileCannotHoldAreFound)
{
    struct Case {
        const char *name;
        Job job;
        bool writable;
    };
    const Case cases[] = {
        {"plain", job("EMP", "/e.csv"), true},
        {"CR inside", job("E\rMP", "/e.csv\r"), true},
        {"line of one piece", job("T", std::string(kListPieceSize - 2, 'c')), true},
        {"empty table", job("", "/e.csv"), false},
        {"TAB in table", job("E\tMP", "/e.csv"), false},
        {"TAB in CSV", job("EMP", "/e\t.csv"), false},
        {"LF in table", job("EMP\n", "/e.csv"), false},
        {"LF in CSV", job("EMP", "/e\n.csv"), false},
        {"line longer than a piece", job("T", std::string(kListPieceSize - 1, 'c')), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(firstUnwritableJob({job("OK", "/ok.csv"), c.job}), c.writable ? -1 : 1);
    }
}

TEST(ListFile, UnopenableFilesFail)
{
    const QString dir = QString::fromStdString(testenv::makeTempDir("unopenable"));
    EXPECT_FALSE(readListFile(dir + "/missing.lst"));
    EXPECT_FALSE(readListFile(dir));
    EXPECT_FALSE(saveListFile(dir + "/missing/jobs.lst", 0, {job("A", "a")}));
    EXPECT_FALSE(saveListFile(dir, 0, {job("A", "a")}));
}
