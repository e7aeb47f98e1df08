#pragma once
// The sample CSV files of the demo schema: they import into its PRODUCTS
// table with the program's defaults (separator ",", quote '"', no header
// line, dates as "yyyy-mm-dd hh24:mi:ss").
#include <string>
#include <vector>

namespace kdbtool {

// $XDG_DATA_HOME/karvello/samples, or ~/.local/share/karvello/samples.
std::string defaultSamplesFolder();

// Creates the folder if needed and writes the sample files into it,
// replacing earlier samples of the same names. Returns false with *error
// set when a file cannot be written; no half-written file is left behind.
bool writeSamples(const std::string &folder, std::vector<std::string> *written, std::string *error);

} // namespace kdbtool
