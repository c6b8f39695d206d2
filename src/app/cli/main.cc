// zelmora-cli: resolves track-page addresses without a window. One output line
// per URL in input order; reasons for URLs without a media address go to
// standard error. Exit status 0 when every URL gave one, 1 when any did not,
// 2 for a usage error.

#include <cstdio>
#include <iostream>

#include "app/batch_resolve.h"
#include "app/cli/cli_options.h"
#include "app/cli/progress_line.h"
#include "app/cli/run_report.h"
#include "text/utf8_to_gbk.h"

using namespace zelmora;

int main(int argc, char** argv) {
  cli::ParseOutcome parsed = cli::ParseCommandLine(argc, argv);
  if (!parsed.options) return parsed.exitCode;
  const cli::CliOptions& options = *parsed.options;
  SetHostMappings(options.connectTo);

  std::vector<Text> addresses;
  addresses.reserve(options.urls.size());
  for (const std::string& url : options.urls) addresses.push_back(Utf8ToGbk(BytesOf(url)));

  cli::ProgressLine progress(stderr, addresses.size());
  std::size_t failed = 0;
  ResolveBatch(addresses, options.jobs, options.settings,
               [&](std::size_t index, const ResolveReport& report) {
                 const std::string& url = options.urls[index];
                 const std::optional<std::string> failure = cli::FailureReason(report);
                 progress.Clear();
                 if (failure) {
                   ++failed;
                   std::fprintf(stderr, "zelmora-cli: %s: %s\n", url.c_str(), failure->c_str());
                 }
                 const std::string line =
                     options.json ? cli::JsonLine(url, report) : cli::MediaLine(report);
                 std::fwrite(line.data(), 1, line.size(), stdout);
                 std::fputc('\n', stdout);
                 std::fflush(stdout);
                 progress.Update(index + 1, failed);
               });
  return failed == 0 ? 0 : 1;
}
