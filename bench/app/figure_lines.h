#pragma once

// Figures that a benchmark measures against a fixed expectation rather than
// against another benchmark of the run (a count, a wall time over its
// ideal). They are printed after the run, below the ratios, in the same form.

#include <string>

namespace zelmora::bench {

// Records the latest value of `label`; it must stay at or below `limit`
// (at or above with `atLeast`).
void ReportFigure(const std::string& label, double value, double limit, bool atLeast = false);

}  // namespace zelmora::bench
