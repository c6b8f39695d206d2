#pragma once

// Runs a program as a child process and waits for it, the way a user's
// shell would, for benchmarks of whole processes.

#include <string>
#include <vector>

namespace zelmora::bench {

struct ChildOutcome {
  int exitCode = -1;   // -1 when it could not start or did not exit normally
  std::string output;  // everything it wrote to standard output
};

// Starts `arguments[0]` (a path) with posix_spawn, with standard input from
// /dev/null, standard output captured and standard error discarded, and
// waits for it to end.
ChildOutcome RunChild(const std::vector<std::string>& arguments);

}  // namespace zelmora::bench
