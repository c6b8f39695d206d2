// Text primitives at 1 MiB and 16 MiB: the cost per byte must not grow with
// the size of the text (no rescans from position 1), and FindText on ASCII
// must keep up with the C library's memmem.

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>

#include "ratio_report.h"
#include "runtime/text_search.h"
#include "text/collect_between.h"

namespace zelmora {
namespace {

constexpr std::size_t kSmall = 1 << 20;
constexpr std::size_t kLarge = 16 << 20;

constexpr char kScriptLeft[] = "<script type=\"text/javascript\" src=\"";
constexpr char kScriptRight[] = "\"></script>";
constexpr char kWideChar[] = "\xD6\xD0";  // one double-byte character

// Builds each kind of page once per size: `add` appends one unit of the page
// (given its number) until the page holds `size` bytes, then it is cut there.
template <class AddUnit>
const Text& CachedPage(std::map<std::size_t, Text>& pages, std::size_t size, AddUnit add) {
  Text& page = pages[size];
  if (page.empty()) {
    std::string bytes;
    bytes.reserve(size + 256);
    for (int unit = 0; bytes.size() < size; ++unit) add(bytes, unit);
    bytes.resize(size);
    page = Text(std::move(bytes));
  }
  return page;
}

// One script element per 168 bytes: 100,000 of them in 16 MiB.
const Text& ScriptPage(std::size_t size) {
  static std::map<std::size_t, Text> pages;
  return CachedPage(pages, size, [](std::string& bytes, int unit) {
    const std::string address = "/showmc/" + std::to_string(unit) + ".js";
    const std::size_t start = bytes.size();
    bytes += "<div class=\"row\">text ";
    bytes += kScriptLeft + address + kScriptRight;
    bytes.append(168 - (bytes.size() - start), 'x');
  });
}

// Made only of the double-byte character.
const Text& WideCharPage(std::size_t size) {
  static std::map<std::size_t, Text> pages;
  return CachedPage(pages, size, [](std::string& bytes, int) { bytes += kWideChar; });
}

// A separator ";" every 16 bytes: a million in 16 MiB.
const Text& SeparatedPage(std::size_t size) {
  static std::map<std::size_t, Text> pages;
  return CachedPage(pages, size, [](std::string& bytes, int) { bytes += "name=\xD6\xD0value;"; });
}

// The list is warmed once outside the timing, so every timed pass measures
// the collection rather than the allocator growing a fresh list.
void MeasureCollection(benchmark::State& state, const Text& page, const Text& left,
                       const Text& right) {
  TextList results;
  CollectBetween(page, left, right, results);
  for (auto _ : state) benchmark::DoNotOptimize(CollectBetween(page, left, right, results));
  state.counters["pieces"] = static_cast<double>(results.size());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}

void CollectScripts(benchmark::State& state) {
  MeasureCollection(state, ScriptPage(static_cast<std::size_t>(state.range(0))), kScriptLeft,
                    kScriptRight);
}
BENCHMARK(CollectScripts)->Arg(kSmall)->Arg(kLarge)->Repetitions(5)->Unit(benchmark::kMillisecond);

void CollectWideChars(benchmark::State& state) {
  MeasureCollection(state, WideCharPage(static_cast<std::size_t>(state.range(0))), kWideChar,
                    kWideChar);
}
BENCHMARK(CollectWideChars)
    ->Arg(kSmall)
    ->Arg(kLarge)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

void Split(benchmark::State& state) {
  const Text& page = SeparatedPage(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(SplitText(page, ";"));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(Split)->Arg(kSmall)->Arg(kLarge)->Repetitions(5)->Unit(benchmark::kMillisecond);

void Replace(benchmark::State& state) {
  const Text& page = SeparatedPage(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceText(page, ";", "; ", 1, -1, true));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(Replace)->Arg(kSmall)->Arg(kLarge)->Repetitions(5)->Unit(benchmark::kMillisecond);

// ASCII text with the sought text only at its very end.
const Text& AsciiHaystack() {
  static const Text haystack = [] {
    std::string bytes;
    bytes.reserve(kLarge);
    while (bytes.size() < kLarge - 64) bytes += "<p class=\"lyric\">and the night goes on</p>\n";
    bytes += "var h5srcur = \"x\";";
    return Text(std::move(bytes));
  }();
  return haystack;
}

void FindTextAscii(benchmark::State& state) {
  const Text& haystack = AsciiHaystack();
  for (auto _ : state) benchmark::DoNotOptimize(FindText(haystack, "var h5srcur"));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(haystack.size()));
}
BENCHMARK(FindTextAscii)->Unit(benchmark::kMillisecond);

void MemmemAscii(benchmark::State& state) {
  const Text& haystack = AsciiHaystack();
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(haystack.c_str(), haystack.size(), "var h5srcur", 11));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(haystack.size()));
}
BENCHMARK(MemmemAscii)->Unit(benchmark::kMillisecond);

// Per-byte cost at 16 MiB over per-byte cost at 1 MiB is throughput at 1 MiB
// over throughput at 16 MiB.
std::string SizeArgs(const char* name, std::size_t size) {
  return std::string(name) + "/" + std::to_string(size);
}

const int registered[] = {
    bench::RegisterRatio({"CollectBetween scripts: cost per byte 16 MiB / 1 MiB",
                          SizeArgs("CollectScripts", kSmall), SizeArgs("CollectScripts", kLarge),
                          "bytes_per_second", 1.5, false}),
    bench::RegisterRatio({"CollectBetween double-byte: cost per byte 16 MiB / 1 MiB",
                          SizeArgs("CollectWideChars", kSmall),
                          SizeArgs("CollectWideChars", kLarge), "bytes_per_second", 1.5, false}),
    bench::RegisterRatio({"SplitText: cost per byte 16 MiB / 1 MiB", SizeArgs("Split", kSmall),
                          SizeArgs("Split", kLarge), "bytes_per_second", 1.5, false}),
    bench::RegisterRatio({"ReplaceText: cost per byte 16 MiB / 1 MiB", SizeArgs("Replace", kSmall),
                          SizeArgs("Replace", kLarge), "bytes_per_second", 1.5, false}),
    bench::RegisterRatio({"FindText / memmem throughput on ASCII", "FindTextAscii", "MemmemAscii",
                          "bytes_per_second", 0.5, true}),
};

}  // namespace
}  // namespace zelmora
