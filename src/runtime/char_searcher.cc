#include "runtime/char_searcher.h"

#include "runtime/byte_search.h"

namespace zelmora {
namespace {

// Rejected candidates tolerated in one search before it turns to the
// streaming matcher; ordinary text never gets there.
constexpr int kRejectionsBeforeStreaming = 8;
// Bytes compared per byte of text (plus an allowance) that the search which
// ignores case may spend trying positions one by one before it turns to the
// streaming matcher. Short texts such as header lines never get there.
constexpr std::size_t kComparesPerByte = 4;
constexpr std::size_t kCompareAllowance = 64;

// Whether offset `p` begins a character, given that `anchor` <= p does. The
// walk back stops at the anchor or right after a byte below 80 hex, whichever
// comes first, and the anchor moves to a later known character start, so a
// series of checks at growing offsets reads every byte at most once.
bool CheckCharStart(std::string_view text, std::size_t p, std::size_t& anchor) {
  std::size_t start = p;
  while (start > anchor && IsLeadByte(static_cast<unsigned char>(text[start - 1]))) --start;
  const bool begins = (p - start) % 2 == 0;
  anchor = begins ? p : p + 1;
  return begins;
}

// Offset within `sought` of the end of its last whole character.
std::size_t WholeCharsLength(std::string_view sought) {
  std::size_t end = 0;
  ForEachChar(sought, [&](std::size_t offset, std::size_t width) {
    if (width == 2 || !IsLeadByte(static_cast<unsigned char>(sought[offset]))) end = offset + width;
  });
  return end;
}

}  // namespace

CharSearcher::CharSearcher(std::string_view sought, bool ignoreCase)
    : sought_(sought), ignoreCase_(ignoreCase), anchorShift_(WholeCharsLength(sought)) {}

std::size_t CharSearcher::Find(std::string_view text, std::size_t from, std::size_t anchor) {
  if (sought_.empty() || from > text.size()) return npos;
  if (ignoreCase_) return FindFolded(text, from, anchor);
  int rejected = 0;
  for (std::size_t pos = from;;) {
    const std::size_t hit = FindBytes(text, sought_, pos);
    if (hit == npos) return npos;
    if (CheckCharStart(text, hit, anchor)) return hit;
    if (++rejected == kRejectionsBeforeStreaming) return FindStreaming(text, hit + 1, anchor);
    pos = hit + 1;
  }
}

std::size_t CharSearcher::FindFolded(std::string_view text, std::size_t from, std::size_t anchor) {
  const auto folded = [](char byte) { return FoldAscii(static_cast<unsigned char>(byte)); };
  const unsigned char first = folded(sought_[0]);
  const std::size_t m = sought_.size();
  std::size_t compared = 0;
  for (std::size_t i = from; i + m <= text.size(); ++i) {
    if (folded(text[i]) != first) continue;
    std::size_t k = 1;
    while (k < m && folded(text[i + k]) == folded(sought_[k])) ++k;
    if (k == m && CheckCharStart(text, i, anchor)) return i;
    compared += k;
    if (compared > kComparesPerByte * (i - from) + kCompareAllowance) {
      return FindStreaming(text, i + 1, anchor);
    }
  }
  return npos;
}

void CharSearcher::BuildFailureTable() {
  if (ignoreCase_) {
    folded_.resize(sought_.size());
    for (std::size_t i = 0; i < sought_.size(); ++i) {
      folded_[i] = static_cast<char>(FoldAscii(static_cast<unsigned char>(sought_[i])));
    }
  }
  const std::string_view pattern = ignoreCase_ ? std::string_view(folded_) : sought_;
  failure_.assign(pattern.size(), 0);
  std::size_t k = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = failure_[k - 1];
    if (pattern[i] == pattern[k]) ++k;
    failure_[i] = k;
  }
}

std::size_t CharSearcher::FindStreaming(std::string_view text, std::size_t from,
                                        std::size_t anchor) {
  if (failure_.empty()) BuildFailureTable();
  const std::string_view pattern = ignoreCase_ ? std::string_view(folded_) : sought_;
  const std::size_t m = pattern.size();
  std::size_t matched = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    const char c = static_cast<char>(ignoreCase_ ? FoldAscii(byte) : byte);
    while (matched > 0 && c != pattern[matched]) matched = failure_[matched - 1];
    if (c == pattern[matched]) ++matched;
    if (matched == m) {
      const std::size_t hit = i + 1 - m;
      if (CheckCharStart(text, hit, anchor)) return hit;
      matched = failure_[m - 1];
    }
  }
  return npos;
}

}  // namespace zelmora
