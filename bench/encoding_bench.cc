// Utf8ToGbk against glibc's iconv from UTF-8 to CP936 on the same 4 MiB page
// of mixed Chinese and ASCII HTML; the ratio of their throughputs must stay
// at or above 2.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdint>
#include <string>

#include "ratio_report.h"
#include "text/utf8_to_gbk.h"

namespace zelmora {
namespace {

constexpr std::size_t kPageBytes = 4 << 20;

// UTF-8 of a character from U+0800 to U+FFFF.
void AppendThreeByteUtf8(std::string& out, char32_t code) {
  out += static_cast<char>(0xE0 | (code >> 12));
  out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

// A track listing page: markup, addresses and numbers in ASCII around titles
// and descriptions of CJK ideographs (U+4E00..U+9FA5, all in the code page).
// A fixed linear congruential generator keeps the page the same everywhere.
const std::string& MixedPage() {
  static const std::string page = [] {
    std::uint32_t state = 936;
    auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 8; };
    auto chinese = [&](std::string& out, unsigned count) {
      for (unsigned i = 0; i < count; ++i)
        AppendThreeByteUtf8(out, 0x4E00 + next() % (0x9FA6 - 0x4E00));
    };
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    chinese(out, 8);
    out += "</title></head>\n<body>\n";
    while (out.size() < kPageBytes - 512) {
      const std::string id = std::to_string(next() % 1000000);
      out += "<li class=\"track-item\" data-id=\"" + id + "\"><a href=\"/music/" + id +
             ".html\" title=\"";
      chinese(out, 4 + next() % 8);
      out += "\">";
      chinese(out, 4 + next() % 8);
      out += "</a><span class=\"singer\">";
      chinese(out, 2 + next() % 3);
      out += "</span><span class=\"time\">0" + std::to_string(next() % 10) + ":" +
             std::to_string(10 + next() % 50) + "</span><p>";
      chinese(out, 10 + next() % 30);
      out += "</p></li>\n";
    }
    out += "</body></html>\n";
    out.resize(kPageBytes, ' ');
    return out;
  }();
  return page;
}

void BM_IconvUtf8ToCp936(benchmark::State& state) {
  const std::string& page = MixedPage();
  const iconv_t converter = iconv_open("CP936", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv has no UTF-8 to CP936 conversion");
    return;
  }
  std::string out(page.size(), '\0');
  for (auto _ : state) {
    char* in = const_cast<char*>(page.data());
    std::size_t in_left = page.size();
    char* put = out.data();
    std::size_t out_left = out.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &in_left, &put, &out_left) == static_cast<std::size_t>(-1)) {
      state.SkipWithError("iconv stopped before the end of the page");
      break;
    }
    benchmark::DoNotOptimize(put);
  }
  iconv_close(converter);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_IconvUtf8ToCp936)->Unit(benchmark::kMillisecond);

void BM_Utf8ToGbk(benchmark::State& state) {
  const ByteSet body = BytesOf(MixedPage());
  for (auto _ : state) {
    Text text = Utf8ToGbk(body);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_Utf8ToGbk)->Unit(benchmark::kMillisecond);

const int kRegistered =
    bench::RegisterRatio({"Utf8ToGbk / iconv UTF-8 to CP936 throughput, 4 MiB page", "BM_Utf8ToGbk",
                          "BM_IconvUtf8ToCp936", "bytes_per_second", 2.0, true});

}  // namespace
}  // namespace zelmora
