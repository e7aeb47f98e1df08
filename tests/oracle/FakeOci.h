#pragma once
// The stand-in client libraries built beside the tests (fake_oci.c), and a
// handle on the complete one's call log.
#include <QString>
#include <string>

namespace fakeoci {

// Full paths of the three builds.
QString fullLibrary();       // all 20 calls
QString noOconOrolLibrary(); // lacks ocon and orol
QString noOgetpiLibrary();   // lacks only ogetpi
QString missingLibrary();    // a path where no library is

// The complete library's log: the names of its calls, blank-separated, since
// the last reset().
std::string log();
void reset();
// The next calls named `name` fail with Oracle error `code`.
void fail(const char *name, int code);
// Appends a column to the select list that odescr describes (none after
// reset(): 1007 at position 1). odescr copies at most the caller's capacity
// of `name` and answers `claimedLength` as its length, true or not.
void addColumn(const char *name, int claimedLength, int type, int size, int precision = 0, int scale = 0);
// The text of the last statement parsed.
std::string lastSql();

} // namespace fakeoci
