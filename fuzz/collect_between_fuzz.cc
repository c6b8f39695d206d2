#include "fuzz/fuzz_input.h"
#include "text/collect_between.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  CollectOptions options;
  options.ignoreCase = input.Flag();
  options.maxLength = input.SmallNumber();
  options.includeLeftMarker = input.Flag();
  options.includeRightMarker = input.Flag();
  options.startPosition = input.SmallNumber();
  options.prefix = input.NextText();
  options.suffix = input.NextText();
  const Text left = input.NextText();
  const Text right = input.NextText();
  const Text source = input.NextText();
  TextList results{"stale"};
  const Position count = CollectBetween(source, left, right, results, options);
  fuzz::Check(count == static_cast<Position>(results.size()));
  for (const Text& text : results) {
    if (options.maxLength != 0) fuzz::Check(static_cast<Position>(text.size()) < options.maxLength);
  }
  return 0;
}
