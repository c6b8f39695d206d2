#include "text/collect_between.h"

#include "runtime/char_searcher.h"
#include "runtime/events.h"
#include "runtime/text_list.h"

namespace zelmora {
namespace {

// Pieces whose text is at least the limit are dropped without being built.
bool Keeps(const CollectOptions& options, std::size_t length) {
  return options.maxLength == 0 || static_cast<Position>(length) < options.maxLength;
}

Text BuildText(const Text& leftMarker, const Text& rightMarker, std::string_view piece,
               const CollectOptions& options) {
  std::string text;
  if (options.includeLeftMarker) text.append(leftMarker.view());
  text.append(options.prefix.view()).append(piece).append(options.suffix.view());
  if (options.includeRightMarker) text.append(rightMarker.view());
  return Text(std::move(text));
}

}  // namespace

Position CollectBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                        TextList& results, const CollectOptions& options) {
  results.clear();
  if (leftMarker.empty()) return 0;
  const std::string_view text = source.view();
  const std::size_t framing = options.prefix.size() + options.suffix.size() +
                              (options.includeLeftMarker ? leftMarker.size() : 0) +
                              (options.includeRightMarker ? rightMarker.size() : 0);
  CharSearcher left(leftMarker.view(), options.ignoreCase);
  CharSearcher right(rightMarker.view(), options.ignoreCase);
  std::size_t pos =
      options.startPosition < 1 ? 0 : static_cast<std::size_t>(options.startPosition - 1);
  std::size_t anchor = 0;                      // a character start at or before pos
  std::size_t nextRight = CharSearcher::npos;  // the right marker found last
  for (;;) {
    const std::size_t a = left.Find(text, pos, anchor);
    if (a == CharSearcher::npos) break;
    pos = a + left.size();
    anchor = left.AnchorAfter(a);
    // The first right marker at or after an earlier pos is still the first at
    // or after this one as long as it lies behind it, so overlapping pieces
    // cost no second scan.
    std::size_t c;
    if (rightMarker.empty()) {
      if (pos >= text.size()) break;
      c = pos;  // an empty right marker leaves an empty piece
    } else {
      if (nextRight == CharSearcher::npos || nextRight < pos)
        nextRight = right.Find(text, pos, anchor);
      if (nextRight == CharSearcher::npos) break;
      c = nextRight;
    }
    const std::string_view piece = text.substr(pos, c - pos);
    if (Keeps(options, framing + piece.size())) {
      ListAppend(results, BuildText(leftMarker, rightMarker, piece, options));
    }
    ProcessEvents();
    ProcessEvents();
    ProcessEvents();
  }
  return ListCount(results);
}

}  // namespace zelmora
