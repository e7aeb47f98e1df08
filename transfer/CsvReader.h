#pragma once
// Reading the program's CSV dialect: lines out of a byte stream, fields out of
// a line. No widgets, no character sets: bytes in, bytes out.
//
// The dialect: CR and LF both end a line and any run of them is one break, so
// blank lines do not exist; one separator byte; an optional quote byte that
// toggles a quoted state wherever it stands and is never part of a field; no
// escapes; nothing is trimmed. A NUL byte ends a line's text.
//
// Reading a file:
//
//   CsvInputStream in(path);
//   if (!in.isOpen()) { /* tell the person; in.errorString() says why */ }
//   std::string lineBuffer;            // the caller's, reused for every line
//   std::string_view line;
//   CsvFields fields;                  // reused for every line
//   for (;;) {
//       const bool more = ReadCsvLine(lineBuffer, line, in);
//       if (!more && line.empty())
//           break;                     // the file is exhausted
//       SplitCsvLine(line, sepChar, quoteChar, fields);
//       for (std::string_view field : fields) { ... }
//       if (!more)
//           break;                     // that was a last line without a break
//   }
//   if (in.hasError()) { /* the file could not be read to its end */ }
//
// `line` and the fields are views: they stay valid until the next call that
// fills the same buffer. Once the buffers have grown to the longest line,
// reading and splitting allocate nothing.
#include <QString>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;
class QFile;

// A forward-only byte source over a file or a device, read in large blocks.
class CsvInputStream {
public:
    // Opens the file at `path` for reading; isOpen() tells whether that worked.
    // Only a regular file opens: not a directory, a pipe or a device.
    explicit CsvInputStream(const QString &path);
    // Reads from `device`, which the caller keeps and which must be open for
    // reading and hold all its data (a file, a QBuffer).
    explicit CsvInputStream(QIODevice *device);
    ~CsvInputStream();
    CsvInputStream(const CsvInputStream &) = delete;
    CsvInputStream &operator=(const CsvInputStream &) = delete;

    bool isOpen() const;
    // True once a read failed, or a file opened by path ended before the size
    // it had when it was opened. The reader takes either for the end of the
    // data, so a caller that must not pass a half-read file off as a whole
    // one asks this at the end.
    bool hasError() const { return m_error; }
    // Why opening or reading failed; empty when nothing failed.
    QString errorString() const { return m_errorString; }

private:
    friend bool ReadCsvLine(std::string &, std::string_view &, CsvInputStream &);

    // Unread bytes, refilled from the device when empty; false at the end.
    bool fill();
    // The first CR or LF in the unread bytes, or nullptr when there is none.
    const char *findBreak();

    std::unique_ptr<QFile> m_file; // when opened by path
    QIODevice *m_device = nullptr;
    std::unique_ptr<char[]> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    // Where the next LF and CR are known to be (m_end: none before the end of
    // the block), so that a file with only one kind of break is not searched
    // for the other to the end of the block at every line.
    size_t m_nextLf = 0;
    size_t m_nextCr = 0;
    qint64 m_sizeAtOpen = 0; // of the file opened by path; reading ends short of it only on a fault
    bool m_atEnd = false;
    bool m_error = false;
    QString m_errorString;
};

// Reads the next line of `stream` into `lineBuffer` (emptied first, its
// capacity kept) and points `line` at its text, which ends at the line's first
// NUL byte if it has one. Breaks before the line (the previous line's, blank
// lines, those at the start of the file) are skipped; the break after it is
// consumed.
//
// Returns true when the line ended with a break. False means the end of the
// data: with a non-empty `line`, a last line that had no break (process it,
// then stop); with an empty `line`, nothing was left. A failed read counts as
// the end of the data (see CsvInputStream::hasError).
bool ReadCsvLine(std::string &lineBuffer, std::string_view &line, CsvInputStream &stream);

// The fields of one line: views into storage of its own, which it reuses from
// line to line.
class CsvFields {
public:
    size_t size() const { return m_fields.size(); }
    bool empty() const { return m_fields.empty(); }
    std::string_view operator[](size_t i) const { return m_fields[i]; }
    auto begin() const { return m_fields.begin(); }
    auto end() const { return m_fields.end(); }
    // Copies of the fields, for callers that keep them beyond the next line.
    std::vector<std::string> toStrings() const;
    // The same into `out`, reusing its strings: once they have grown, copying
    // line after line allocates nothing.
    void assignTo(std::vector<std::string> &out) const;

private:
    friend void SplitCsvLine(std::string_view, char, char, CsvFields &);
    std::string m_bytes;                   // the fields' bytes, back to back
    std::vector<std::string_view> m_fields; // into m_bytes
};

// Splits `line` into `fields` by `sepChar`, honouring `quoteChar` ('\0' for
// none). Each quote byte toggles the quoted state and is dropped, wherever it
// stands; a separator outside quotes ends a field and is dropped; every other
// byte belongs to the current field. A quote that is never closed makes the
// rest of the line one field. A line that yields no byte and no separator
// (empty, or quotes only) has no fields at all; otherwise the last field is
// kept even when empty ("a," has two fields).
void SplitCsvLine(std::string_view line, char sepChar, char quoteChar, CsvFields &fields);

// A copy of `text` with every `from` byte replaced by `to`; same length.
std::string ReplaceChar(std::string_view text, char from, char to);
