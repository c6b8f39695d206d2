#pragma once

// Ratios between benchmarks measured in the same run, printed after the run
// with the limit each must keep. Benchmarks report their throughput as
// bytes_per_second (SetBytesProcessed) or items_per_second.

#include <string>

namespace zelmora::bench {

struct Ratio {
  std::string label;        // what the ratio says, e.g. "FindText / memmem throughput"
  std::string numerator;    // benchmark name, as printed in the table
  std::string denominator;  // benchmark name
  std::string counter;      // "bytes_per_second", "items_per_second" or "real_time"
  double limit;             // the ratio must stay at or above (atLeast) or at or below it
  bool atLeast;
};

// Registers a ratio at static-initialisation time; returns a dummy for that.
int RegisterRatio(Ratio ratio);

}  // namespace zelmora::bench
