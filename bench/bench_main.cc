// Runs every registered benchmark, then prints the registered ratios between
// them, so each speed target is checked side by side in one run.

#include <benchmark/benchmark.h>

#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <map>
#include <vector>

#include "ratio_report.h"

namespace zelmora::bench {
namespace {

std::vector<Ratio>& Ratios() {
  static std::vector<Ratio> ratios;
  return ratios;
}

// Keeps each run's figures beside the usual console table.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      // Of repeated runs the fastest stands: load from elsewhere only ever
      // adds time, so the least time and the highest rates are kept.
      std::map<std::string, double>& figures = figures_[BaseName(run.run_name.str())];
      Keep(figures, "real_time", run.GetAdjustedRealTime(), /*higherIsBetter=*/false);
      for (const auto& [name, counter] : run.counters) {
        Keep(figures, name, counter.value, name.ends_with("_per_second"));
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints each ratio and returns how many missed their limit.
  int PrintRatios() const {
    int missed = 0;
    std::printf("\n%-62s %9s %8s\n", "ratio", "measured", "limit");
    for (const Ratio& ratio : Ratios()) {
      const double a = Figure(ratio.numerator, ratio.counter);
      const double b = Figure(ratio.denominator, ratio.counter);
      if (a < 0 || b <= 0) {
        std::printf("%-62s %9s\n", ratio.label.c_str(), "not run");
        continue;
      }
      const double value = a / b;
      const bool holds = ratio.atLeast ? value >= ratio.limit : value <= ratio.limit;
      missed += holds ? 0 : 1;
      std::printf("%-62s %9.2f %s%6.2f %s\n", ratio.label.c_str(), value,
                  ratio.atLeast ? ">=" : "<=", ratio.limit, holds ? "ok" : "MISSED");
    }
    return missed;
  }

 private:
  static void Keep(std::map<std::string, double>& figures, const std::string& name, double value,
                   bool higherIsBetter) {
    const auto [figure, added] = figures.emplace(name, value);
    if (!added && (higherIsBetter ? value > figure->second : value < figure->second)) {
      figure->second = value;
    }
  }

  // The name without the "/repeats:N" that repetition adds.
  static std::string BaseName(std::string name) {
    const std::size_t repeats = name.find("/repeats:");
    if (repeats != std::string::npos) name.erase(repeats, name.find('/', repeats + 1) - repeats);
    return name;
  }

  double Figure(const std::string& name, const std::string& counter) const {
    const auto run = figures_.find(name);
    if (run == figures_.end()) return -1;
    const auto figure = run->second.find(counter);
    return figure == run->second.end() ? -1 : figure->second;
  }

  std::map<std::string, std::map<std::string, double>> figures_;
};

}  // namespace

int RegisterRatio(Ratio ratio) {
  Ratios().push_back(std::move(ratio));
  return 0;
}

}  // namespace zelmora::bench

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // glibc serves blocks above a dynamic threshold (at most 32 MiB) straight
  // from the kernel, freshly zeroed page by page, and returns them at once.
  // The lists that a 16 MiB text splits into cross it while those of a 1 MiB
  // text do not, so the ratios between sizes would measure page zeroing.
  // Keeping every block on the reused heap measures the operations alone.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  zelmora::bench::CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reporter.PrintRatios();
  return 0;
}
