#include "transfer/ErrorRecordFiles.h"

#include "app/TfmMain.h"
#include "transfer/CsvReader.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Unbuffered: every record goes straight to the file descriptor, so nothing
// waits in a buffer for a process that may be killed.
std::FILE *createEmpty(const QString &path)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file)
        std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

// Appends `bytes` whole or not at all. A process killed in between can at
// worst lose the record, never leave half of it; a write that stops short (a
// full disk, a file-size limit) is cut back to where the record began, so
// the file keeps whole lines that can be imported again.
bool appendWhole(std::FILE *file, std::string_view bytes)
{
    const int fd = fileno(file);
    const off_t start = ::lseek(fd, 0, SEEK_CUR);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (done > 0 && start >= 0 && ::ftruncate(fd, start) == 0)
            ::lseek(fd, start, SEEK_SET);
        return false;
    }
    return true;
}

void removeFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        QFile::remove(path);
}

} // namespace

ErrorRecordFiles::ErrorRecordFiles(TfmMain &main, QString recordPath, QString messagePath)
    : m_main(main)
    , m_recordPath(std::move(recordPath))
    , m_messagePath(std::move(messagePath))
{
}

ErrorRecordFiles::~ErrorRecordFiles()
{
    close();
}

bool ErrorRecordFiles::createRecords()
{
    m_records = createEmpty(m_recordPath);
    m_main.errFile = m_records;
    m_recordsCreated = m_records != nullptr;
    return m_recordsCreated;
}

bool ErrorRecordFiles::createMessages()
{
    m_messages = createEmpty(m_messagePath);
    m_main.ermFile = m_messages;
    m_messagesCreated = m_messages != nullptr;
    return m_messagesCreated;
}

void ErrorRecordFiles::write(std::FILE *file, bool waived, std::string_view bytes)
{
    if (!file) {
        m_lost = m_lost || !waived;
        return;
    }
    if (!appendWhole(file, bytes))
        m_lost = true;
}

void ErrorRecordFiles::record(std::string_view line, const QString &reason)
{
    m_written = true;
    m_pending.assign(line);
    m_pending += kLineEnd;
    write(m_records, m_recordsWaived, m_pending);
    const QByteArray text = reason.toLocal8Bit();
    m_pending = ReplaceChar(std::string_view(text.constData(), size_t(text.size())), '\n', ' ');
    m_pending += kLineEnd;
    write(m_messages, m_messagesWaived, m_pending);
}

void ErrorRecordFiles::closeFile(std::FILE *&file, std::FILE *&mirror)
{
    if (!file)
        return;
    // Nothing waits in a buffer, but a failing close still means the file
    // may not hold what was written.
    if (std::fclose(file) != 0 && m_written)
        m_lost = true;
    file = nullptr;
    mirror = nullptr;
}

void ErrorRecordFiles::close()
{
    closeFile(m_records, m_main.errFile);
    closeFile(m_messages, m_main.ermFile);
}

void ErrorRecordFiles::remove()
{
    close();
    if (m_recordsCreated)
        removeFile(m_recordPath);
    if (m_messagesCreated)
        removeFile(m_messagePath);
}
