#include "fuzz/fuzz_input.h"
#include "runtime/text_ops.h"
#include "runtime/text_search.h"
#include "text/text_slicing.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const Position start = input.SmallNumber();
  const bool ignoreCase = input.Flag();
  const Text sought = input.NextText();
  const Text text = input.NextText();
  const Position found = FindText(text, sought, start, ignoreCase);
  fuzz::Check(found == -1 || (found >= 1 && found <= TextLength(text)));
  if (found != -1 && !sought.empty()) fuzz::Check(found >= start);
  const Position byteWise = FindTextFrom(text, sought, start < 0 ? 0 : start, ignoreCase);
  // A match at a character start is also a byte-wise match, so the byte-wise
  // search finds one no later.
  if (found != -1 && !sought.empty() && start >= 0)
    fuzz::Check(byteWise != -1 && byteWise <= found);
  return 0;
}
