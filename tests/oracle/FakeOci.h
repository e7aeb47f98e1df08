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

} // namespace fakeoci
