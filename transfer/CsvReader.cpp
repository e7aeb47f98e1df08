#include "transfer/CsvReader.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace {

// One read per block: large enough that a million short lines a second cost
// only a few system calls, small enough to stay in the cache's reach.
constexpr size_t kBlockSize = 1 << 20;

// A position that is before every unread byte: "not searched yet".
constexpr size_t kUnknown = static_cast<size_t>(-1);

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

CsvInputStream::CsvInputStream(const QString &path)
    : m_file(std::make_unique<QFile>(path))
{
    // Opening a named pipe waits for a writer that may never come, and a
    // device such as /dev/zero never ends: the program would hang on either.
    // A CSV file is a regular file (or a link to one).
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        m_errorString = QStringLiteral("Not a regular file");
        return;
    }
    // Unbuffered: the blocks go straight into our buffer, not through Qt's.
    if (m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_device = m_file.get();
        m_sizeAtOpen = m_file->size();
    } else
        m_errorString = m_file->errorString();
}

CsvInputStream::CsvInputStream(QIODevice *device)
{
    if (device && device->isReadable())
        m_device = device;
    else
        m_errorString = QStringLiteral("the device is not open for reading");
}

CsvInputStream::~CsvInputStream() = default;

bool CsvInputStream::isOpen() const
{
    return m_device != nullptr;
}

bool CsvInputStream::fill()
{
    if (m_pos < m_end)
        return true;
    if (m_atEnd || !m_device)
        return false;
    if (!m_buffer)
        m_buffer = std::make_unique_for_overwrite<char[]>(kBlockSize);
    const qint64 n = m_device->read(m_buffer.get(), qint64(kBlockSize));
    if (n <= 0) {
        m_atEnd = true;
        if (n < 0) {
            m_error = true;
            m_errorString = m_device->errorString();
        } else if (m_file && m_file->pos() < m_sizeAtOpen) {
            // Someone cut the file short while it was read: the lines past
            // the cut never came, which is no end of the file.
            m_error = true;
            m_errorString = QStringLiteral("The file was shortened while it was read");
        }
        return false;
    }
    m_pos = 0;
    m_end = size_t(n);
    m_nextLf = kUnknown;
    m_nextCr = kUnknown;
    return true;
}

const char *CsvInputStream::findBreak()
{
    const char *unread = m_buffer.get() + m_pos;
    const size_t length = m_end - m_pos;
    auto locate = [&](size_t &known, char c) {
        if (known == kUnknown || known < m_pos) {
            const void *hit = std::memchr(unread, c, length);
            known = hit ? size_t(static_cast<const char *>(hit) - m_buffer.get()) : m_end;
        }
    };
    locate(m_nextLf, '\n');
    locate(m_nextCr, '\r');
    const size_t first = std::min(m_nextLf, m_nextCr);
    return first < m_end ? m_buffer.get() + first : nullptr;
}

bool ReadCsvLine(std::string &lineBuffer, std::string_view &line, CsvInputStream &in)
{
    lineBuffer.clear();
    line = {};

    for (;;) {
        if (!in.fill())
            return false;
        while (in.m_pos < in.m_end && isBreak(in.m_buffer[in.m_pos]))
            ++in.m_pos;
        if (in.m_pos < in.m_end)
            break;
    }

    bool endedWithBreak = false;
    for (;;) {
        const char *start = in.m_buffer.get() + in.m_pos;
        if (const char *brk = in.findBreak()) {
            lineBuffer.append(start, size_t(brk - start));
            in.m_pos = size_t(brk - in.m_buffer.get()) + 1;
            endedWithBreak = true;
            break;
        }
        lineBuffer.append(start, in.m_end - in.m_pos);
        in.m_pos = in.m_end;
        if (!in.fill())
            break;
    }

    // A read that failed inside the line leaves only part of it; handing that
    // on as a whole last line would store a row the file never held.
    if (in.m_error) {
        lineBuffer.clear();
        return false;
    }
    const void *nul = std::memchr(lineBuffer.data(), '\0', lineBuffer.size());
    line = std::string_view(lineBuffer.data(),
                            nul ? size_t(static_cast<const char *>(nul) - lineBuffer.data())
                                : lineBuffer.size());
    return endedWithBreak;
}

std::vector<std::string> CsvFields::toStrings() const
{
    return std::vector<std::string>(m_fields.begin(), m_fields.end());
}

void CsvFields::assignTo(std::vector<std::string> &out) const
{
    out.resize(m_fields.size());
    for (size_t i = 0; i < m_fields.size(); ++i)
        out[i].assign(m_fields[i]);
}

void SplitCsvLine(std::string_view line, char sepChar, char quoteChar, CsvFields &out)
{
    out.m_fields.clear();
    // Dropping quotes and separators only ever shortens the text, so the
    // fields fit into the line's length; grow once, never per line.
    if (out.m_bytes.size() < line.size())
        out.m_bytes.resize(line.size());
    char *const base = out.m_bytes.data();
    char *dst = base;
    char *fieldStart = base;
    const bool quoting = quoteChar != '\0';
    bool quoted = false;
    bool produced = false;

    for (const char c : line) {
        // The quote test comes first: a quote byte equal to the separator
        // only ever toggles.
        if (quoting && c == quoteChar) {
            quoted = !quoted;
        } else if (c == sepChar && !quoted) {
            out.m_fields.emplace_back(fieldStart, size_t(dst - fieldStart));
            fieldStart = dst;
            produced = true;
        } else {
            *dst++ = c;
            produced = true;
        }
    }
    if (produced)
        out.m_fields.emplace_back(fieldStart, size_t(dst - fieldStart));
}

std::string ReplaceChar(std::string_view text, char from, char to)
{
    std::string result(text);
    std::replace(result.begin(), result.end(), from, to);
    return result;
}
