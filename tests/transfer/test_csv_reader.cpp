#include "transfer/CsvReader.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::pair<std::string, bool>>;

// Every line the reader delivers until it reports the end with nothing left,
// with the result of the call that delivered it.
Lines readAll(CsvInputStream &in)
{
    Lines lines;
    std::string buffer;
    std::string_view line;
    for (;;) {
        const bool more = ReadCsvLine(buffer, line, in);
        if (!more && line.empty())
            break;
        lines.emplace_back(std::string(line), more);
        if (!more)
            break;
    }
    // Once at the end, it stays there.
    EXPECT_FALSE(ReadCsvLine(buffer, line, in));
    EXPECT_TRUE(line.empty());
    return lines;
}

Lines readAll(const std::string &bytes)
{
    QByteArray data(bytes.data(), qsizetype(bytes.size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    CsvInputStream in(&device);
    return readAll(in);
}

// A device that hands out its bytes and then fails, as a disk or a network
// file system may in the middle of a file.
class FailingDevice final : public QIODevice {
public:
    explicit FailingDevice(QByteArray head)
        : m_head(std::move(head))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_head.isEmpty()) {
            setErrorString("Input/output error");
            return -1;
        }
        const qint64 n = std::min<qint64>(maxSize, m_head.size());
        memcpy(data, m_head.constData(), size_t(n));
        m_head.remove(0, n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_head;
};

} // namespace

TEST(CsvReader, BreaksAndBlankLines)
{
    struct Case {
        const char *name;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"crlf", "a,b\r\nc\r\n", {{"a,b", true}, {"c", true}}},
        {"lf", "a,b\nc\n", {{"a,b", true}, {"c", true}}},
        {"cr", "a,b\rc\r", {{"a,b", true}, {"c", true}}},
        {"mixed runs", "a\r\r\nb\n\rc\n", {{"a", true}, {"b", true}, {"c", true}}},
        {"blank lines and leading breaks", "\r\n\r\na\n\n\nb\r\r\n", {{"a", true}, {"b", true}}},
        {"empty file", "", {}},
        {"breaks only", "\n\r\n\r", {}},
        {"last line without break", "a\nlast", {{"a", true}, {"last", false}}},
        {"single line without break", "x", {{"x", false}}},
        {"spaces are a line", "a\n \n", {{"a", true}, {" ", true}}},
        {"nul ends the text", "a\0b,c\nd\n"s, {{"a", true}, {"d", true}}},
        {"nul first: an empty text", "\0x\ny"s, {{"", true}, {"y", false}}},
        {"shift-jis bytes untouched", "\x83\x65\x83\x58\x83\x67,\x95\x5c\r\n",
         {{"\x83\x65\x83\x58\x83\x67,\x95\x5c", true}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readAll(c.bytes), c.expected);
    }
}

TEST(CsvReader, BytesAfterNulAreReadIntoTheBufferAndDropped)
{
    QByteArray data("ab\0cd\nef", 8);
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    CsvInputStream in(&device);
    std::string buffer;
    std::string_view line;
    ASSERT_TRUE(ReadCsvLine(buffer, line, in));
    EXPECT_EQ(line, "ab");
    EXPECT_EQ(buffer, "ab\0cd"s);
    EXPECT_FALSE(ReadCsvLine(buffer, line, in));
    EXPECT_EQ(line, "ef");
}

TEST(CsvReader, LinesAcrossBlocksAndLinesOfMegabytes)
{
    // Breaks at every position around the reader's 1 MiB blocks, a line of
    // several megabytes, and a file of CR breaks only.
    const size_t block = size_t(1) << 20;
    std::string longLine(5 * block + 123, 'x');
    for (size_t i = 0; i < longLine.size(); i += 97)
        longLine[i] = ',';

    std::string crOnly;
    Lines crLines;
    for (int i = 0; crOnly.size() < 3 * block; ++i) {
        crLines.emplace_back("line " + std::to_string(i), true);
        crOnly += crLines.back().first + "\r";
    }

    struct Case {
        const char *name;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"cr lf split by a block end", std::string(block - 1, 'a') + "\r\nb\n",
         {{std::string(block - 1, 'a'), true}, {"b", true}}},
        {"break right after a block", std::string(block, 'a') + "\nb",
         {{std::string(block, 'a'), true}, {"b", false}}},
        {"long line", "head\r\n" + longLine + "\r\ntail", {{"head", true}, {longLine, true}, {"tail", false}}},
        {"long last line", longLine, {{longLine, false}}},
        {"cr only, many blocks", crOnly, crLines},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(readAll(c.bytes) == c.expected);
    }
}

TEST(CsvReader, OpensFilesByPath)
{
    const std::string dir = testenv::makeTempDir("csv");
    const QString path = QString::fromStdString(dir + "/データ.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("id,name\r\n1,\"a,b\"\r\n");
    file.close();

    CsvInputStream in(path);
    ASSERT_TRUE(in.isOpen());
    EXPECT_EQ(readAll(in), (Lines{{"id,name", true}, {"1,\"a,b\"", true}}));
    EXPECT_FALSE(in.hasError());

    for (const QString &bad : {QString::fromStdString(dir + "/missing.csv"), QString::fromStdString(dir)}) {
        SCOPED_TRACE(bad.toStdString());
        CsvInputStream none(bad);
        EXPECT_FALSE(none.isOpen());
        EXPECT_FALSE(none.errorString().isEmpty());
        EXPECT_TRUE(readAll(none).empty());
    }
}

TEST(CsvReader, ReadErrorEndsTheDataWithoutAHalfLine)
{
    FailingDevice device("1,a\r\n2,b\r\n3,c");
    CsvInputStream in(&device);
    EXPECT_EQ(readAll(in), (Lines{{"1,a", true}, {"2,b", true}}));
    EXPECT_TRUE(in.hasError());
    EXPECT_EQ(in.errorString(), "Input/output error");
}

TEST(CsvSplitter, LinesAndFields)
{
    struct Case {
        std::string line;
        char sep;
        char quote;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        // The dialect with its defaults.
        {"a,,c", ',', '"', {"a", "", "c"}},
        {"a,b,", ',', '"', {"a", "b", ""}},
        {",", ',', '"', {"", ""}},
        {"\"\"", ',', '"', {}},
        {"", ',', '"', {}},
        {"\"", ',', '"', {}},
        {"\"\",", ',', '"', {"", ""}},
        {"\"a,b\",c", ',', '"', {"a,b", "c"}},
        {"\"a\"\"b\"", ',', '"', {"ab"}},
        {"x\"y,z\"w", ',', '"', {"xy,zw"}},
        {"\"a,b", ',', '"', {"a,b"}},
        {"x , y", ',', '"', {"x ", " y"}},
        {"abcdefghij", ',', '"', {"abcdefghij"}},
        // Other separators and quotes.
        {"a\tb\t\"c\td\"", '\t', '"', {"a", "b", "c\td"}},
        {"'a;b';c,d", ';', '\'', {"a;b", "c,d"}},
        // No quote character: quotes are data, every separator splits, and a
        // NUL byte is data too.
        {"\"a,b\",c", ',', '\0', {"\"a", "b\"", "c"}},
        {"a\0b,c"s, ',', '\0', {"a\0b"s, "c"}},
        // Quote equal to the separator: nothing ever splits.
        {"a,b,c", ',', ',', {"abc"}},
        {",", ',', ',', {}},
        // Bytes are compared one by one, also inside double-byte characters.
        {"\x95\x5c" "a", '\x5c', '"', {"\x95", "a"}},
    };
    // One field list and one copy for all lines, as a run reuses them.
    CsvFields fields;
    std::vector<std::string> copy;
    for (const Case &c : cases) {
        SCOPED_TRACE("line: " + c.line);
        SplitCsvLine(c.line, c.sep, c.quote, fields);
        EXPECT_EQ(fields.toStrings(), c.fields);
        fields.assignTo(copy);
        EXPECT_EQ(copy, c.fields);
    }
}

TEST(CsvSplitter, ReplaceCharKeepsTheLength)
{
    EXPECT_EQ(ReplaceChar("ORA-00001: 一意制約\nに反しています\n", '\n', ' '),
              "ORA-00001: 一意制約 に反しています ");
    EXPECT_EQ(ReplaceChar("a\0b"s, '\0', '_'), "a_b");
    EXPECT_EQ(ReplaceChar("", '\n', ' '), "");
}
