// The cost of one WebRequest against a server on the loopback address,
// measured beside libcurl's easy interface fetching the same address with
// one reused handle: the least any request through this backend can cost.
// Prints the ratio WebRequest / floor for each body size.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "http/web_request.h"
#include "support/loopback_server.h"

namespace {

using zelmora::testing::LoopbackServer;
using zelmora::testing::ReceivedRequest;
using zelmora::testing::Reply;

// Serves "/N" with a body of N bytes.
LoopbackServer& Server() {
  static LoopbackServer server([](const ReceivedRequest& request) {
    return Reply::Ok(std::string(std::stoul(request.target.substr(1)), 'x'));
  });
  return server;
}

std::string Url(const benchmark::State& state) {
  std::string path = std::to_string(state.range(0));
  path.insert(path.begin(), '/');
  return Server().Url(path);
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

void BM_CurlEasyFloor(benchmark::State& state) {
  const std::string url = Url(state);
  CURL* easy = curl_easy_init();
  std::string body;
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
  for (auto _ : state) {
    body.clear();
    if (curl_easy_perform(easy) != CURLE_OK) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(body.data());
  }
  curl_easy_cleanup(easy);
}

void BM_WebRequest(benchmark::State& state) {
  const zelmora::Text url(Url(state));
  for (auto _ : state) {
    int status = 0;
    const zelmora::ByteSet body = zelmora::WebRequest(url, {.statusCode = &status});
    if (status != 200) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(body.data());
  }
}

double Fastest(const std::vector<double>& times) {
  return times.empty() ? 0 : *std::min_element(times.begin(), times.end());
}

// Each size's floor and WebRequest run one after the other, so that both
// see the same load on the machine. The fastest of several repetitions
// stands for each: load from elsewhere only ever adds time.
void RegisterSideBySide() {
  for (const int size : {0, 16 << 10, 1 << 20}) {
    for (const auto& [name, function] : {std::pair{"BM_CurlEasyFloor", &BM_CurlEasyFloor},
                                         std::pair{"BM_WebRequest", &BM_WebRequest}}) {
      benchmark::RegisterBenchmark(name, function)
          ->Arg(size)
          ->UseRealTime()
          ->Repetitions(5)
          ->ReportAggregatesOnly()
          ->ComputeStatistics("min", Fastest);
    }
  }
}

// Prints the usual table and keeps each run's real time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
        times_[run.run_name.str()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
  }

  void PrintRatios() const {
    for (const auto& [name, time] : times_) {
      if (!name.starts_with("BM_WebRequest/")) continue;
      const std::string rest = name.substr(name.find('/'));  // "/<size>/..."
      const auto floor = times_.find("BM_CurlEasyFloor" + rest);
      if (floor == times_.end() || floor->second.real <= 0 || floor->second.cpu <= 0) continue;
      const std::string size = rest.substr(1, rest.find('/', 1) - 1);
      // The calling thread's CPU time leaves out the server's threads and
      // waiting, so it shows the client's own cost when the machine is busy.
      std::printf(
          "ratio WebRequest / libcurl easy floor, body %s bytes: %.3f (calling thread's CPU "
          "time: %.3f)\n",
          size.c_str(), time.real / floor->second.real, time.cpu / floor->second.cpu);
    }
  }

 private:
  struct Times {
    double real = 0;
    double cpu = 0;
  };
  std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
  RegisterSideBySide();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
