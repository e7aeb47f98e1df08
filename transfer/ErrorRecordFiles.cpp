#include "transfer/ErrorRecordFiles.h"

#include "app/TfmMain.h"
#include "transfer/CsvReader.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::FILE *createEmpty(const QString &path)
{
    return std::fopen(QFile::encodeName(path).constData(), "wb");
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
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        m_lost = true;
}

void ErrorRecordFiles::record(std::string_view line, const QString &reason)
{
    m_written = true;
    write(m_records, m_recordsWaived, line);
    write(m_records, m_recordsWaived, kLineEnd);
    const QByteArray text = reason.toLocal8Bit();
    write(m_messages, m_messagesWaived, ReplaceChar(std::string_view(text.constData(), size_t(text.size())), '\n', ' '));
    write(m_messages, m_messagesWaived, kLineEnd);
}

void ErrorRecordFiles::closeFile(std::FILE *&file, std::FILE *&mirror)
{
    if (!file)
        return;
    // The lines wait in the stream's buffer: a full disk may only show here.
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
