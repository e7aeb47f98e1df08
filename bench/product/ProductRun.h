#pragma once
// The program's own import and export, driven on its real main window.
#include "bench/common/Measure.h"

#include <string>

namespace bench {

struct ProductTimings {
    Timing import;
    Timing exported;
    double escResponseMs = 0; // the slowest of a few ESC presses during a new import
};

// In the calling process (meant for a child): makes a database in `folder`,
// logs the main window on to it offscreen, imports `csv` (rows lines) into a
// new table through the run control with every box answered Yes and ESC
// checking on, then exports the table to `exportPath`. Fails unless every
// line reached the table and every row the file. Then times a few ESC presses
// during imports of the same file that stop at the question.
ProductTimings runProduct(const std::string &folder, const std::string &csv, const std::string &exportPath,
                          long rows);

} // namespace bench
