// zelmora-cli as a whole process against the replica site on loopback: one
// resolve beside a shell script that makes the same three requests with
// three curl processes; the connections one resolve opens; and a batch of
// 1,000 addresses with 16 runs at once against a site that waits 20 ms
// before every response.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/site_constants.h"
#include "child_process.h"
#include "figure_lines.h"
#include "ratio_report.h"
#include "site/replica_content.h"
#include "site/replica_site.h"

namespace zelmora::bench {
namespace {

using testing::ReplicaSite;

constexpr int kBatchUrls = 1000;
constexpr int kBatchJobs = 16;
constexpr int kBatchDelayMs = 20;
constexpr int kRequestsPerResolve = 3;

ReplicaSite& Site() {
  static ReplicaSite site;
  return site;
}

std::vector<std::string> CliResolving(const ReplicaSite& site, std::vector<std::string> extra) {
  std::vector<std::string> arguments{ZELMORA_CLI_PATH, "--connect-to", site.ConnectTo()};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return arguments;
}

const std::string& SampleMediaLine() {
  static const std::string line = testing::MediaAddress(testing::kSampleTrackId) + "\n";
  return line;
}

// Runs `arguments` once per iteration; every run must print the sample's
// media address.
void RunResolves(benchmark::State& state, const std::vector<std::string>& arguments) {
  for (auto _ : state) {
    const ChildOutcome outcome = RunChild(arguments);
    if (outcome.exitCode != 0 || outcome.output != SampleMediaLine()) {
      state.SkipWithError(("unexpected result: " + outcome.output).c_str());
      return;
    }
  }
}

void BM_OneResolveZelmoraCli(benchmark::State& state) {
  RunResolves(state, CliResolving(Site(), {testing::TrackAddress(testing::kSampleTrackId)}));
}
BENCHMARK(BM_OneResolveZelmoraCli)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneResolveCurlScript(benchmark::State& state) {
  RunResolves(state, {"/bin/sh", ZELMORA_CURL_SCRIPT, Site().ConnectTo(), kMobileOrigin,
                      testing::TrackAddress(testing::kSampleTrackId)});
}
BENCHMARK(BM_OneResolveCurlScript)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ConnectionsPerResolve(benchmark::State& state) {
  ReplicaSite& site = Site();
  const std::vector<std::string> arguments =
      CliResolving(site, {testing::TrackAddress(testing::kSampleTrackId)});
  const int connectionsBefore = site.ConnectionCount();
  const int requestsBefore = site.RequestCount();
  RunResolves(state, arguments);
  const double resolves = static_cast<double>(state.iterations());
  const double connections = (site.ConnectionCount() - connectionsBefore) / resolves;
  state.counters["connections"] = connections;
  state.counters["requests"] = (site.RequestCount() - requestsBefore) / resolves;
  ReportFigure("connections opened per resolve (zelmora-cli)", connections, 2);
}
BENCHMARK(BM_ConnectionsPerResolve)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_Batch1000Jobs16Delay20ms(benchmark::State& state) {
  static ReplicaSite slowSite({.delay = std::chrono::milliseconds(kBatchDelayMs)});
  std::vector<std::string> extra{"-j", std::to_string(kBatchJobs)};
  std::string expected;
  for (int i = 0; i < kBatchUrls; ++i) {
    const std::string id = std::to_string(1000000 + i);
    extra.push_back(testing::TrackAddress(id));
    expected += testing::MediaAddress(id) + "\n";
  }
  const std::vector<std::string> arguments = CliResolving(slowSite, extra);
  const int connectionsBefore = slowSite.ConnectionCount();
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const ChildOutcome outcome = RunChild(arguments);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.exitCode != 0 || outcome.output != expected) {
      state.SkipWithError("the batch did not resolve every address in order");
      return;
    }
  }
  const double ideal = kBatchUrls * kRequestsPerResolve * kBatchDelayMs / 1000.0 / kBatchJobs;
  const double wallOverIdeal = seconds / static_cast<double>(state.iterations()) / ideal;
  const double connections = slowSite.ConnectionCount() - connectionsBefore;
  state.counters["connections"] = connections;
  state.counters["ideal_s"] = ideal;
  state.counters["wall_over_ideal"] = wallOverIdeal;
  // Concurrent runs share the process's idle connections, so a batch needs
  // at most the two of each resolve.
  ReportFigure("connections opened per resolve, 1,000 URLs with -j 16",
               connections / static_cast<double>(state.iterations()) / kBatchUrls, 2);
  ReportFigure("1,000 URLs, -j 16, 20 ms per response: wall / ideal 3.75 s", wallOverIdeal, 1.3);
}
BENCHMARK(BM_Batch1000Jobs16Delay20ms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

const int kRegistered = RegisterRatio(
    {"one resolve, wall time: zelmora-cli / curl script", "BM_OneResolveZelmoraCli/real_time",
     "BM_OneResolveCurlScript/real_time", "real_time", 0.5, false});

}  // namespace
}  // namespace zelmora::bench
