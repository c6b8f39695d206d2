#include "text/text_slicing.h"

#include <string>

#include "runtime/byte_search.h"
#include "runtime/char_searcher.h"
#include "runtime/text_ops.h"
#include "runtime/text_search.h"

namespace zelmora {
namespace {

std::string Lowered(std::string_view bytes) {
  std::string lowered(bytes);
  for (char& byte : lowered) byte = static_cast<char>(FoldAscii(static_cast<unsigned char>(byte)));
  return lowered;
}

Text WithQuotes(const Text& marker) {
  return ReplaceText(marker, kQuotePlaceholder, "\"", 1, -1, true);
}

}  // namespace

Position FindTextFrom(const Text& source, const Text& sought, Position startPosition,
                      bool ignoreCase) {
  if (source.empty() || sought.empty()) return -1;
  if (startPosition == 0) startPosition = 1;
  if (startPosition < 1 || startPosition > TextLength(source)) return -1;
  // Folding keeps every length, so a position in the folded copies is the
  // same position in the source.
  const std::string foldedSource = ignoreCase ? Lowered(source.view()) : std::string();
  const std::string foldedSought = ignoreCase ? Lowered(sought.view()) : std::string();
  const std::string_view haystack = ignoreCase ? std::string_view(foldedSource) : source.view();
  const std::string_view needle = ignoreCase ? std::string_view(foldedSought) : sought.view();
  const std::size_t hit = FindBytes(haystack, needle, static_cast<std::size_t>(startPosition - 1));
  return hit == std::string_view::npos ? -1 : static_cast<Position>(hit) + 1;
}

Text TextBefore(const Text& source, const Text& separator, Position startPosition,
                bool ignoreCase) {
  const Position p = FindText(source, separator, startPosition < 1 ? 1 : startPosition, ignoreCase);
  return p == -1 ? Text() : TextLeft(source, p - 1);
}

Text TextBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 Position startPosition, bool ignoreCase) {
  const Text left = WithQuotes(leftMarker);
  const Text right = WithQuotes(rightMarker);
  const Position a = FindText(source, left, startPosition < 1 ? 1 : startPosition, ignoreCase);
  if (a == -1) return {};
  const Position b = a + TextLength(left);
  const Position c = FindText(source, right, b, ignoreCase);
  if (c == -1) return {};
  return TextMid(source, b, c - b);
}

}  // namespace zelmora
