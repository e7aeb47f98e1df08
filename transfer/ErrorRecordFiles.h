#pragma once
// The two files an import keeps beside its CSV file while it runs: the
// rejected lines as they stand in the CSV file (".err"), and the database's
// reason for each at the same line number (".erm"). Both end every line with
// CR LF, so the record file is itself a CSV file that can be corrected and
// imported again.
//
// The files are open in the main window's errFile and ermFile for the life
// of the object, which closes them on every path.
#include <QString>
#include <cstdio>
#include <string>
#include <string_view>

class TfmMain;

class ErrorRecordFiles {
public:
    ErrorRecordFiles(TfmMain &main, QString recordPath, QString messagePath);
    ~ErrorRecordFiles();
    ErrorRecordFiles(const ErrorRecordFiles &) = delete;
    ErrorRecordFiles &operator=(const ErrorRecordFiles &) = delete;

    // Create the file empty (an existing one is emptied); false when it
    // cannot be created.
    bool createRecords();
    bool createMessages();
    // The run goes on without the file the person agreed to do without; the
    // lines that would have gone there are then not missed.
    void doWithoutRecords() { m_recordsWaived = true; }
    void doWithoutMessages() { m_messagesWaived = true; }

    // Records one rejected line and the database's reason for it, the
    // reason's line feeds turned into spaces so that it stays one line. Each
    // goes out in one write with its line end, so the files hold whole lines
    // whenever the process stops.
    void record(std::string_view line, const QString &reason);

    // Closes both files.
    void close();
    // Closes both files and removes those this run created; only a file or a
    // link, never a device that a path may name.
    void remove();

    // True when a rejected line did not reach a file it should be in: a write
    // or the final flush failed, or a file was missing that the person had
    // not agreed to do without.
    bool linesLost() const { return m_lost; }

private:
    void write(std::FILE *file, bool waived, std::string_view bytes);
    void closeFile(std::FILE *&file, std::FILE *&mirror);

    TfmMain &m_main;
    QString m_recordPath;
    QString m_messagePath;
    std::FILE *m_records = nullptr;
    std::FILE *m_messages = nullptr;
    bool m_recordsCreated = false;
    bool m_messagesCreated = false;
    bool m_recordsWaived = false;
    bool m_messagesWaived = false;
    bool m_written = false; // a line went into the files
    std::string m_pending;  // the record or reason being written, with its line end
    bool m_lost = false;
};
