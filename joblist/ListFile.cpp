#include "joblist/ListFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr char kTab = '\t';
constexpr std::string_view kLineEnd = "\r\n";

// Hands out a device's bytes in the list file's line pieces, reading the
// device in large blocks.
class PieceReader {
public:
    explicit PieceReader(QIODevice &device)
        : m_device(device)
    {
    }

    // The next piece: bytes up to and including a LF, at most kListPieceSize
    // of them. Shorter than that without a LF only at the end of the data.
    // Valid until the next call.
    std::string_view next()
    {
        m_piece.clear();
        while (m_piece.size() < kListPieceSize && (m_pos < m_end || fill())) {
            const size_t room = kListPieceSize - m_piece.size();
            const char *begin = m_block.data() + m_pos;
            const size_t available = std::min(room, m_end - m_pos);
            const auto *lf = static_cast<const char *>(std::memchr(begin, '\n', available));
            const size_t take = lf ? size_t(lf - begin) + 1 : available;
            m_piece.append(begin, take);
            m_pos += take;
            if (lf)
                break;
        }
        return m_piece;
    }

    // Takes the next byte when it is `c`.
    bool skipIf(char c)
    {
        if ((m_pos < m_end || fill()) && m_block[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool failed() const { return m_failed; }
    // A NUL byte came: no text file, so no list file either.
    bool binary() const { return m_binary; }

private:
    bool fill()
    {
        if (m_failed)
            return false;
        const qint64 n = m_device.read(m_block.data(), qint64(m_block.size()));
        if (n < 0)
            m_failed = true;
        if (n <= 0)
            return false;
        if (std::memchr(m_block.data(), '\0', size_t(n)))
            m_binary = true;
        m_pos = 0;
        m_end = size_t(n);
        return true;
    }

    QIODevice &m_device;
    std::array<char, 64 * 1024> m_block{};
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_failed = false;
    bool m_binary = false;
    std::string m_piece;
};

// Skips what is left of line 1 after its first piece.
void skipRestOfLine(PieceReader &reader, std::string_view piece)
{
    while (piece.size() == kListPieceSize && piece.back() != '\n')
        piece = reader.next();
}

// A piece without its line end, or nothing when it is the unfinished text
// after the last line end.
std::optional<std::string_view> jobLine(PieceReader &reader, std::string_view piece)
{
    if (!piece.empty() && piece.back() == '\n') {
        piece.remove_suffix(1);
        if (!piece.empty() && piece.back() == '\r')
            piece.remove_suffix(1);
        return piece;
    }
    if (piece.size() < kListPieceSize)
        return std::nullopt;
    // A full piece may end between the CR and the LF of a line end; that CR
    // belongs to the line end, not to the CSV path.
    if (piece.back() == '\r' && reader.skipIf('\n'))
        piece.remove_suffix(1);
    return piece;
}

bool writeLine(QIODevice &device, const std::string &text)
{
    const std::string line = text + std::string(kLineEnd);
    return device.write(line.data(), qint64(line.size())) == qint64(line.size());
}

} // namespace

std::string GetField(std::string_view text, char separator, int n)
{
    if (n < 0)
        return {};
    size_t start = 0;
    for (int field = 0; field < n; ++field) {
        const size_t sep = text.find(separator, start);
        if (sep == std::string_view::npos)
            return {};
        start = sep + 1;
    }
    return std::string(text.substr(start, text.find(separator, start) - start));
}

std::optional<ListFileContents> readListFile(QIODevice &device)
{
    ListFileContents contents;
    PieceReader reader(device);
    const std::string_view first = reader.next();
    if (!first.empty() && (first.front() == '0' || first.front() == '1'))
        contents.mode = first.front() - '0';
    skipRestOfLine(reader, first);

    for (;;) {
        const std::string_view piece = reader.next();
        const std::optional<std::string_view> line = jobLine(reader, piece);
        if (!line)
            break;
        Job job;
        job.table = GetField(*line, kTab, 0);
        if (job.table.empty())
            continue;
        job.csv = GetField(*line, kTab, 1);
        contents.jobs.push_back(std::move(job));
    }
    // Text after a NUL byte would come as jobs that nobody wrote: whatever
    // file was chosen, it was not a list file, and the list stays as it is.
    if (reader.failed() || reader.binary())
        return std::nullopt;
    return contents;
}

std::optional<ListFileContents> readListFile(const QString &path)
{
    // A pipe would block the open until a writer came, and a device such as
    // /dev/zero never ends: only a regular file can be a list file.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readListFile(file);
}

int firstUnwritableJob(const std::vector<Job> &jobs)
{
    const auto breaksLine = [](const std::string &field) {
        // A NUL would make the whole file unreadable to Load.
        return field.find_first_of(std::string_view("\t\n\0", 3)) != std::string::npos;
    };
    for (size_t i = 0; i < jobs.size(); ++i) {
        const Job &job = jobs[i];
        if (job.table.empty() || breaksLine(job.table) || breaksLine(job.csv)
            || job.table.size() + 1 + job.csv.size() > kListPieceSize)
            return int(i);
    }
    return -1;
}

bool writeListFile(QIODevice &device, int mode, const std::vector<Job> &jobs)
{
    if (!writeLine(device, std::to_string(mode)))
        return false;
    for (const Job &job : jobs) {
        if (!writeLine(device, job.table + kTab + job.csv))
            return false;
    }
    return true;
}

bool saveListFile(const QString &path, int mode, const std::vector<Job> &jobs)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writeListFile(file, mode, jobs)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
