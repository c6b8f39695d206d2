#include "fuzz/fuzz_input.h"
#include "text/text_slicing.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const Position start = input.SmallNumber();
  const bool ignoreCase = input.Flag();
  const Text left = input.NextText();
  const Text right = input.NextText();
  const Text source = input.NextText();
  const Text between = TextBetween(source, left, right, start, ignoreCase);
  fuzz::Check(between.size() <= source.size());
  fuzz::Check(source.view().find(between.view()) != std::string_view::npos);
  const Text before = TextBefore(source, left, start, ignoreCase);
  fuzz::Check(source.view().substr(0, before.size()) == before.view());
  return 0;
}
