#include "http/cookie_merge.h"

#include <string>
#include <unordered_set>

#include "runtime/text_ops.h"
#include "runtime/text_search.h"

namespace zelmora {
namespace {

constexpr char kDeletedSuffix[] = "=deleted";
constexpr char kMergedSeparator[] = "; ";

bool IsDeleted(const Text& cookie) { return cookie.view().ends_with(kDeletedSuffix); }

// Joins the items that are not repeats of earlier ones. A set of the items
// seen keeps this linear where a scan of the list for each item would not be.
Text JoinFirstOccurrences(const TextList& items, std::string_view separator) {
  std::unordered_set<std::string_view> seen;
  std::string out;
  bool first = true;
  for (const Text& item : items) {
    if (!seen.insert(item.view()).second) continue;
    if (!first) out += separator;
    first = false;
    out += item.view();
  }
  return Text(std::move(out));
}

}  // namespace

Text MergeCookies(Text& sentCookies, Text& returnedCookies) {
  sentCookies = RemoveSpaces(sentCookies);
  returnedCookies = RemoveSpaces(returnedCookies);
  const TextList sent = SplitText(sentCookies, ";");
  TextList merged = SplitText(returnedCookies, ";");
  // Names present so far; a sent cookie joins only under a new name, so the
  // returned value wins and only the first sent cookie of a name is added.
  std::unordered_set<std::string> names;
  for (const Text& cookie : merged) names.insert(CookieName(cookie).str());
  for (const Text& cookie : sent) {
    if (names.insert(CookieName(cookie).str()).second) merged.push_back(cookie);
  }
  // A cookie deleted by the server still keeps the sent cookie of its name
  // out; then neither is kept.
  std::string joined;
  for (const Text& cookie : merged) {
    if (IsDeleted(cookie)) continue;
    joined += cookie.view();
    joined += kMergedSeparator;
  }
  if (!joined.empty()) joined.resize(joined.size() - 2);
  sentCookies = JoinDistinct(Text(std::move(joined)), kMergedSeparator, true);
  return sentCookies;
}

Text CookieName(const Text& cookie) {
  const Position equals = FindText(cookie, "=");
  return TrimBoth(equals == -1 ? cookie : TextLeft(cookie, equals - 1));
}

bool CookieListHasName(const TextList& cookies, const Text& name) {
  for (const Text& cookie : cookies) {
    if (CookieName(cookie) == name) return true;
  }
  return false;
}

Text JoinDistinct(const Text& source, const Text& separator, bool splitBySeparator) {
  TextList items;
  if (splitBySeparator) {
    items = SplitText(source, separator);
  } else {
    SplitCharacters(source, items);
  }
  return JoinFirstOccurrences(items, separator.view());
}

Position SplitCharacters(const Text& source, TextList& characters) {
  characters.clear();
  const std::string_view bytes = source.view();
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t width = 1;
    if (i + 1 < bytes.size()) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      if (byte > 0x80 || (bytes[i] == '\r' && bytes[i + 1] == '\n')) width = 2;
    }
    characters.emplace_back(bytes.substr(i, width));
    i += width;
  }
  return static_cast<Position>(characters.size());
}

Position FindInList(const TextList& list, const Text& item) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == item) return static_cast<Position>(i) + 1;
  }
  return -1;
}

}  // namespace zelmora
