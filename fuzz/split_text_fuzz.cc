#include "fuzz/fuzz_input.h"
#include "runtime/text_search.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const Position maxPieces = input.SmallNumber();
  const Text separator = input.NextText();
  const Text text = input.NextText();
  const TextList pieces = SplitText(text, separator, maxPieces);
  if (maxPieces >= 1) fuzz::Check(static_cast<Position>(pieces.size()) <= maxPieces);
  if (maxPieces < 1 && !separator.empty() && !text.empty()) {
    // Joining the pieces with the separator gives the text back, less a final separator.
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (i > 0) joined += separator.str();
      joined += pieces[i].str();
    }
    fuzz::Check(joined == text.str() || joined + separator.str() == text.str());
  }
  return 0;
}
