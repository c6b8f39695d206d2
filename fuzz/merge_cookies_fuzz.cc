#include "fuzz/fuzz_input.h"
#include "http/cookie_merge.h"
#include "runtime/text_search.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const bool splitBySeparator = input.Flag();
  const Text separator = input.NextText();
  Text sent = input.NextText();
  Text returned = input.NextText();

  const Text merged = MergeCookies(sent, returned);
  fuzz::Check(sent == merged);
  // No merged cookie repeats another or is a deleted one.
  const TextList cookies = SplitText(merged, "; ");
  for (std::size_t i = 0; i < cookies.size(); ++i) {
    fuzz::Check(!cookies[i].view().ends_with("=deleted") || FindText(cookies[i], ";") != -1);
    fuzz::Check(FindInList(TextList(cookies.begin(), cookies.begin() + static_cast<long>(i)),
                           cookies[i]) == -1);
  }

  TextList characters;
  const Position count = SplitCharacters(returned, characters);
  fuzz::Check(count == static_cast<Position>(characters.size()));
  std::string joined;
  for (const Text& character : characters) joined += character.str();
  fuzz::Check(joined == returned.str());

  const Text distinct = JoinDistinct(returned, separator, splitBySeparator);
  // At most every character or piece once, each with a separator.
  fuzz::Check(distinct.size() <= returned.size() * (1 + separator.size()));
  return 0;
}
