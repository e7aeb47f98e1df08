#pragma once
#include <string>

namespace testenv {

// Points HOME, XDG_CONFIG_HOME and XDG_DATA_HOME at a fresh temporary folder
// that is removed at exit. Called by the test mains before anything else.
void isolateUserFolders();

// The temporary root made by isolateUserFolders().
const std::string &root();

// A new, empty folder under root(), for one test's files.
std::string makeTempDir(const std::string &hint);

// The build's output folder (program, libkarvellodb.so, karvello-db).
std::string binDir();

} // namespace testenv
