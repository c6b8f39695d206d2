#include "runtime/text_search.h"

#include "runtime/char_searcher.h"

namespace zelmora {
namespace {

// Zero-based offset of a 1-based start, with starts below 1 counting as 1.
std::size_t StartOffset(Position start) {
  return start < 1 ? 0 : static_cast<std::size_t>(start - 1);
}

}  // namespace

Position FindText(const Text& text, const Text& sought, Position start, bool ignoreCase) {
  const std::size_t from = StartOffset(start);
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  CharSearcher searcher(sought.view(), ignoreCase);
  const std::size_t hit = searcher.Find(text.view(), from, 0);
  return hit == CharSearcher::npos ? -1 : static_cast<Position>(hit) + 1;
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, Position start,
                 Position count, bool caseSensitive) {
  const std::size_t from = StartOffset(start);
  if (text.empty() || sought.empty() || from >= text.size() || count == 0) return text;
  const std::string_view source = text.view();
  CharSearcher searcher(sought.view(), !caseSensitive);
  std::string result(source.substr(0, from));
  std::size_t copied = from;
  std::size_t anchor = 0;
  for (Position done = 0; count < 0 || done < count; ++done) {
    const std::size_t hit = searcher.Find(source, copied, anchor);
    if (hit == CharSearcher::npos) break;
    result.append(source.substr(copied, hit - copied)).append(replacement.view());
    copied = hit + searcher.size();
    anchor = searcher.AnchorAfter(hit);
  }
  result.append(source.substr(copied));
  return Text(std::move(result));
}

TextList SplitText(const Text& text, const Text& separator, Position maxPieces) {
  TextList pieces;
  if (text.empty()) return pieces;
  const auto full = [&] {
    return maxPieces >= 1 && static_cast<Position>(pieces.size()) >= maxPieces;
  };
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  const std::string_view source = text.view();
  CharSearcher searcher(separator.view(), false);
  std::size_t pieceStart = 0;
  std::size_t anchor = 0;
  while (pieceStart < source.size() && !full()) {
    const std::size_t hit = searcher.Find(source, pieceStart, anchor);
    if (hit == CharSearcher::npos) {
      pieces.emplace_back(source.substr(pieceStart));
      return pieces;
    }
    pieces.emplace_back(source.substr(pieceStart, hit - pieceStart));
    pieceStart = hit + searcher.size();
    anchor = searcher.AnchorAfter(hit);
  }
  return pieces;
}

}  // namespace zelmora
