#pragma once
// How long a person waits, during a long import with ESC checking on, from
// pressing ESC to seeing the question whether to stop.
class TfmMain;

namespace bench {

// Imports `csv` into the benchmark's table again (emptied first) a few times;
// in each run a second thread presses ESC after a delay taken from
// `importSeconds` (the whole import's time), and the run stops at the
// question. Returns the longest wait seen, in milliseconds.
double slowestEscResponseMs(TfmMain &window, const char *csv, double importSeconds);

} // namespace bench
