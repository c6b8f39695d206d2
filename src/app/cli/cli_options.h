#pragma once

// The command line of zelmora-cli.

#include <optional>
#include <string>
#include <vector>

#include "app/resolve_workflow.h"
#include "http/host_mapping.h"

namespace zelmora::cli {

struct CliOptions {
  std::vector<std::string> urls;       // the arguments, then the input file's lines
  std::string inputFile;               // -i: a file of URLs, "-" for standard input
  bool json = false;                   // one JSON object per URL instead of plain lines
  std::vector<HostMapping> connectTo;  // --connect-to, in the order given
  ResolveSettings settings;            // proxy, proxy credentials and timeout
  int jobs = 4;                        // runs at once, 1 to 64
};

// What parsing the command line decided.
struct ParseOutcome {
  std::optional<CliOptions> options;  // set when the tool should run
  int exitCode = 0;                   // otherwise: 0 after --help or --version, 2 for misuse
};

// Parses the arguments. Help, version and usage errors are printed here (to
// standard output and standard error respectively).
ParseOutcome ParseCommandLine(int argc, char** argv);

// Adds the URLs of an input text: one per line, blank lines and lines that
// start with # skipped, surrounding white space and a CR before LF removed.
void AppendInputLines(std::string_view input, std::vector<std::string>& urls);

}  // namespace zelmora::cli
