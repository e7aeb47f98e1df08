#pragma once
// The main window of a newcomer (logged on as DEMO to the embedded engine's
// demo schema, boxes answered by the test) with what the bad-input cases
// need around it: a folder of the test's own, files written and read back as
// bytes, and queries on the window's session that do not disturb its cursor.
#include "support/DemoWindow.h"

#include <QString>
#include <string>
#include <vector>

class BadInput : public DemoWindow {
protected:
    void SetUp() override;

    // Statements that must succeed, committed; the rows of a query with each
    // row's values joined by "|".
    void run(const std::vector<std::string> &statements);
    std::vector<std::string> rows(const std::string &sql);

    // Names `table` in the table field and presses Enter there, as a person
    // who typed it would.
    void enterTable(const QString &table);

public:
    // The test's own folder, for the cases' makers.
    QString path(const QString &name) const { return folder + name; }
    QString writeFile(const QString &name, const std::string &bytes);
    static void writeFileAt(const QString &path, const std::string &bytes);
    // A file's bytes, or "(missing)" when it cannot be read.
    static std::string readFile(const QString &path);

protected:
    QString folder; // ends with "/"
};

// The bytes of a list of lines, each ended by CR LF.
std::string crlf(const std::vector<std::string> &lines);

// `size` bytes from a fixed seed: the same "random" file in every run.
std::string randomBytes(size_t size, unsigned seed);

// While it lives, this thread reads and writes files as the owner's
// permission bits say, even as root (it drops the capabilities that let root
// pass them). available() is false when that could not be arranged.
class FilePermissionsEnforced {
public:
    FilePermissionsEnforced();
    ~FilePermissionsEnforced();
    FilePermissionsEnforced(const FilePermissionsEnforced &) = delete;
    FilePermissionsEnforced &operator=(const FilePermissionsEnforced &) = delete;
    bool available() const { return m_available; }

private:
    bool m_available = false;
    bool m_dropped = false;
    unsigned m_effective[2] = {0, 0};
};
