// The cost of one WebRequest against a server on the loopback address,
// measured beside libcurl's easy interface fetching the same address with
// one reused handle and the same header lines, so that both put the same
// request on the wire: the least any request through this backend can cost.
// Prints the ratio WebRequest / floor for each body size.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <chrono>
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

// One request through libcurl's easy interface on a reused handle, with the
// header lines WebRequest completes an empty header text with.
class CurlEasyFloor {
 public:
  explicit CurlEasyFloor(const std::string& url) : easy_(curl_easy_init()) {
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy_, CURLOPT_PROXY, "");
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Collect);
    const std::string referer = "Referer: " + url;
    for (const char* line : {"Accept: */*", referer.c_str(), "Accept-Language: zh-cn",
                             "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"}) {
      headers_ = curl_slist_append(headers_, line);
    }
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
  }
  ~CurlEasyFloor() {
    curl_easy_cleanup(easy_);
    curl_slist_free_all(headers_);
  }

  // Each body is a new value, as WebRequest's is.
  std::string Fetch() {
    std::string body;
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(easy_) != CURLE_OK) body = "failed";
    return body;
  }

 private:
  CURL* easy_;
  curl_slist* headers_ = nullptr;
};

double Seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// The floor and WebRequest take turns, one request each per iteration, so
// that both meet the same state of the machine (load, which core serves the
// server's thread); each kind's time is summed on its own.
void BM_WebRequestBesideFloor(benchmark::State& state) {
  const std::string url = Url(state);
  const zelmora::Text address(url);
  CurlEasyFloor floor(url);
  double floorSeconds = 0;
  double requestSeconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const std::string floorBody = floor.Fetch();
    const auto middle = std::chrono::steady_clock::now();
    int status = 0;
    const zelmora::ByteSet body = zelmora::WebRequest(address, {.statusCode = &status});
    const auto end = std::chrono::steady_clock::now();
    if (status != 200 || body.size() != floorBody.size()) state.SkipWithError("request failed");
    floorSeconds += Seconds(middle - start);
    requestSeconds += Seconds(end - middle);
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["floor_us"] = floorSeconds / iterations * 1e6;
  state.counters["webrequest_us"] = requestSeconds / iterations * 1e6;
  state.counters["ratio"] = requestSeconds / floorSeconds;
}
BENCHMARK(BM_WebRequestBesideFloor)
    ->Arg(0)
    ->Arg(16 << 10)
    ->Arg(1 << 20)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMicrosecond);

// Prints the usual table, then the median ratio for each body size.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
      const auto ratio = run.counters.find("ratio");
      if (ratio != run.counters.end())
        ratios_.emplace_back(run.run_name.str(), ratio->second.value);
    }
  }

  void PrintRatios() const {
    for (const auto& [name, ratio] : ratios_) {
      const std::string size =
          name.substr(name.find('/') + 1, name.find('/', name.find('/') + 1) - name.find('/') - 1);
      std::printf("ratio WebRequest / libcurl easy floor, body %s bytes: %.3f (limit 1.20: %s)\n",
                  size.c_str(), ratio, ratio <= 1.2 ? "ok" : "MISSED");
    }
  }

 private:
  std::vector<std::pair<std::string, double>> ratios_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
