#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

// Finds a sought text in a code-page-936 byte string at character starts only,
// in time linear in the text. A byte of 80 hex or above and the byte after it
// form one character; the position right after any byte below 80 hex always
// begins a character. A caller that knows where a character begins (position
// 0, or the end of a match it just found) hands that knowledge on as an
// anchor, so no search rescans the text from its start.
//
// Built once per sought text and reused for every search of one operation.
class CharSearcher {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  CharSearcher(std::string_view sought, bool ignoreCase);

  // Offset of the first match at or after `from` that begins a character, or
  // npos. `anchor` <= `from` must begin a character. The sought text must not
  // be empty.
  std::size_t Find(std::string_view text, std::size_t from, std::size_t anchor);

  // An offset known to begin a character, at most one byte before the end of
  // a match found at `match`: its end when the sought text ends on a whole
  // character, else the start of its last, unfinished character.
  std::size_t AnchorAfter(std::size_t match) const { return match + anchorShift_; }

  std::size_t size() const { return sought_.size(); }

 private:
  // Ignoring case: tries each position in turn while that stays cheap, then
  // turns to the streaming matcher.
  std::size_t FindFolded(std::string_view text, std::size_t from, std::size_t anchor);
  // A matcher that never re-reads a byte (Knuth-Morris-Pratt). It serves
  // searches that ignore case, and searches whose fast candidates keep
  // landing inside characters, which only periodic double-byte input does.
  std::size_t FindStreaming(std::string_view text, std::size_t from, std::size_t anchor);
  void BuildFailureTable();

  std::string_view sought_;  // the caller's bytes, which outlive the searcher
  bool ignoreCase_;
  std::size_t anchorShift_;
  std::string folded_;                // sought with A to Z folded, with the table below
  std::vector<std::size_t> failure_;  // built on first need
};

// Whether the byte begins a double-byte character when it begins a character.
inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Folds A to Z onto a to z; every other byte stays.
inline unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Calls visit(offset, width) for each character of `text` in order; the last
// byte is a character by itself when it would start an unfinished one.
template <class Visit>
void ForEachChar(std::string_view text, Visit&& visit) {
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t width =
        (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    visit(i, width);
    i += width;
  }
}

}  // namespace zelmora
