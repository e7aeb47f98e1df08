// The CSV reader and splitter on arbitrary bytes. The first byte picks the
// separator, the quote and the size of the device's reads; the rest is the file.
// Lines read through small reads must equal the lines cut from the whole text
// by the dialect's rules, and splitting must never grow a line.
#include "fuzz/ChunkedDevice.h"
#include "fuzz/FuzzCheck.h"
#include "transfer/CsvReader.h"

#include <QBuffer>
#include <QByteArray>
#include <string>
#include <vector>

namespace {

// The dialect's lines, cut from the whole text at once: runs of CR and LF
// separate lines, each line ends at its first NUL. A last line without a
// break whose text is empty cannot be told from the end of the data and is
// not read.
std::vector<std::string> expectedLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        pos = text.find_first_not_of("\r\n", pos);
        if (pos == std::string_view::npos)
            break;
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        const std::string_view lineText = line.substr(0, line.find('\0'));
        if (!lineText.empty() || end < text.size())
            lines.emplace_back(lineText);
        pos = end;
    }
    return lines;
}

std::vector<std::string> readLines(CsvInputStream &in, char sep, char quote)
{
    std::vector<std::string> lines;
    std::string buffer;
    std::string_view line;
    CsvFields fields;
    for (;;) {
        const bool more = ReadCsvLine(buffer, line, in);
        if (!more && line.empty())
            break;
        lines.emplace_back(line);
        SplitCsvLine(line, sep, quote, fields);
        size_t bytes = 0;
        for (std::string_view field : fields)
            bytes += field.size();
        FUZZ_CHECK(bytes + (fields.empty() ? 0 : fields.size() - 1) <= line.size());
        if (!more)
            break;
    }
    FUZZ_CHECK(!in.hasError());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const char separators[] = {',', '\t', ';', '"'};
    static const char quotes[] = {'"', '\'', '\0', ','};
    const char sep = separators[data[0] & 3];
    const char quote = quotes[(data[0] >> 2) & 3];
    const size_t chunk = 1 + (data[0] >> 4);
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    const std::vector<std::string> expected = expectedLines(text);

    ChunkedDevice chunked(text, chunk);
    CsvInputStream fromChunks(&chunked);
    FUZZ_CHECK(readLines(fromChunks, sep, quote) == expected);

    QByteArray whole(text.data(), qsizetype(text.size()));
    QBuffer buffer(&whole);
    buffer.open(QIODevice::ReadOnly);
    CsvInputStream fromBuffer(&buffer);
    FUZZ_CHECK(readLines(fromBuffer, sep, quote) == expected);
    return 0;
}
