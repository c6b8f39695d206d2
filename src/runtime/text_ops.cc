#include "runtime/text_ops.h"

#include <algorithm>

#include "runtime/char_searcher.h"

namespace zelmora {
namespace {

constexpr unsigned char kIdeographicSpaceByte = 0xA1;  // A1 A1 is the ideographic space

bool IsSpaceChar(std::string_view text, std::size_t offset, std::size_t width) {
  if (width == 1) return text[offset] == ' ';
  return static_cast<unsigned char>(text[offset]) == kIdeographicSpaceByte &&
         static_cast<unsigned char>(text[offset + 1]) == kIdeographicSpaceByte;
}

}  // namespace

Position TextLength(const Text& text) { return static_cast<Position>(text.size()); }

Text TextLeft(const Text& text, Position n) {
  if (n <= 0) return {};
  return Text(
      text.view().substr(0, static_cast<std::size_t>(std::min<Position>(n, TextLength(text)))));
}

Text TextRight(const Text& text, Position n) {
  if (n <= 0) return {};
  const std::size_t keep = static_cast<std::size_t>(std::min<Position>(n, TextLength(text)));
  return Text(text.view().substr(text.size() - keep));
}

Text TextMid(const Text& text, Position start, Position n) {
  if (start < 1 || start > TextLength(text) || n <= 0) return {};
  return Text(
      text.view().substr(static_cast<std::size_t>(start - 1),
                         static_cast<std::size_t>(std::min<Position>(n, TextLength(text)))));
}

int CharCode(const Text& text) { return text.empty() ? 0 : static_cast<signed char>(text.byte(0)); }

Text TrimBoth(const Text& text) { return Text(TrimmedView(text.view())); }

std::string_view TrimmedView(std::string_view source) {
  std::size_t begin = source.size();
  std::size_t end = 0;
  ForEachChar(source, [&](std::size_t offset, std::size_t width) {
    if (IsSpaceChar(source, offset, width)) return;
    begin = std::min(begin, offset);
    end = offset + width;
  });
  return begin < end ? source.substr(begin, end - begin) : std::string_view();
}

Text RemoveSpaces(const Text& text) {
  const std::string_view source = text.view();
  std::string kept;
  kept.reserve(source.size());
  ForEachChar(source, [&](std::size_t offset, std::size_t width) {
    if (!IsSpaceChar(source, offset, width)) kept.append(source.substr(offset, width));
  });
  return Text(std::move(kept));
}

Text ToUpper(const Text& text) {
  std::string upper = text.str();
  ForEachChar(text.view(), [&](std::size_t offset, std::size_t width) {
    char& first = upper[offset];
    if (width == 1 && first >= 'a' && first <= 'z') first = static_cast<char>(first - ('a' - 'A'));
  });
  return Text(std::move(upper));
}

bool TextEquals(const Text& a, const Text& b) { return a == b; }

Text ConcatText(std::initializer_list<Text> parts) {
  std::size_t total = 0;
  for (const Text& part : parts) total += part.size();
  std::string joined;
  joined.reserve(total);
  for (const Text& part : parts) joined.append(part.view());
  return Text(std::move(joined));
}

Text BlankText(Position n) {
  return n < 1 ? Text() : Text(std::string(static_cast<std::size_t>(n), ' '));
}

}  // namespace zelmora
