#pragma once
// A session controller and the cursor under test, children of one owner:
// logged on to a fresh embedded database of their own (EngineCursor), or to
// the stand-in library whose calls the test reads back (FakeCursor).
#include "oracle/TOCIctrl.h"
#include "oracle/TOCIcur.h"

#include <QObject>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class CursorFixture : public testing::Test {
protected:
    // Logs the session on; a failure fails the test with the session's text.
    void logOn(const QString &library, const char *user, const char *password, const std::string &connect);

    QObject owner;
    TOCIctrl *session = nullptr;
    TOCIcur *cursor = nullptr; // bound to `session`
};

class EngineCursor : public CursorFixture {
protected:
    void SetUp() override;

    // Runs a statement that must succeed, on a cursor of its own so that the
    // one under test keeps its state.
    void run(const std::string &sql);
    // The rows of a query, each row's values joined by "|".
    std::vector<std::string> rows(const std::string &sql);

    TOCIcur *helper = nullptr;
};

class FakeCursor : public CursorFixture {
protected:
    // Logged on as the stand-in's one user, with an empty call log.
    void SetUp() override;
};
