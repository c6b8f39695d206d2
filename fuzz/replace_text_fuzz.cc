#include "fuzz/fuzz_input.h"
#include "runtime/text_search.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const Position start = input.SmallNumber();
  const Position count = input.SmallNumber();
  const bool caseSensitive = input.Flag();
  const Text sought = input.NextText();
  const Text replacement = input.NextText();
  const Text text = input.NextText();
  const Text replaced = ReplaceText(text, sought, replacement, start, count, caseSensitive);
  // Replacing a text by itself changes nothing.
  if (caseSensitive) fuzz::Check(ReplaceText(text, sought, sought, start, count, true) == text);
  if (sought.empty() || count == 0) fuzz::Check(replaced == text);
  return 0;
}
