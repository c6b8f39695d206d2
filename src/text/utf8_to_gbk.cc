#include "text/utf8_to_gbk.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "text/cp936_table.h"

namespace zelmora {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
  char32_t code;   // the character, or kReplacement for malformed input
  unsigned bytes;  // how many input bytes it takes
};

// The bounds of the second byte of a multi-byte sequence and the number of
// continuation bytes after the lead; zero continuation bytes mark a byte that
// cannot start a sequence. The narrowed ranges exclude overlong forms (E0,
// F0), surrogates (ED) and code points beyond U+10FFFF (F4).
struct LeadRule {
  std::uint8_t continuations, second_low, second_high;
};

constexpr LeadRule RuleFor(std::uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {1, 0x80, 0xBF};
  if (lead == 0xE0) return {2, 0xA0, 0xBF};
  if (lead == 0xED) return {2, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {2, 0x80, 0xBF};
  if (lead == 0xF0) return {3, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {3, 0x80, 0xBF};
  if (lead == 0xF4) return {3, 0x80, 0x8F};
  return {0, 0, 0};
}

constexpr bool IsContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

// Decodes the sequence that starts with the non-ASCII byte at `p`, replacing
// malformed input the way the system's UTF-8 decoder does.
Decoded DecodeSequence(const std::uint8_t* p, const std::uint8_t* end) {
  const LeadRule rule = RuleFor(p[0]);
  if (rule.continuations == 0) return {kReplacement, 1};
  const auto available = static_cast<std::size_t>(end - p);
  if (available < 2 || !IsContinuation(p[1])) return {kReplacement, 1};
  if (p[1] < rule.second_low || p[1] > rule.second_high) return {kReplacement, 2};
  // Lead bits: 5 for two-byte sequences, 4 for three, 3 for four.
  char32_t code = p[0] & (0x3Fu >> rule.continuations);
  for (unsigned i = 1; i <= rule.continuations; ++i) {
    if (i >= available || !IsContinuation(p[i])) return {kReplacement, i};
    code = (code << 6) | (p[i] & 0x3Fu);
  }
  return {code, rule.continuations + 1u};
}

// Writes the code page bytes of one UTF-16 unit.
char* PutUnit(char* out, char16_t unit) {
  const std::uint16_t bytes = cp936::EncodeUnit(unit);
  if (bytes < 0x100) {
    *out++ = static_cast<char>(bytes);
  } else {
    *out++ = static_cast<char>(bytes >> 8);
    *out++ = static_cast<char>(bytes & 0xFF);
  }
  return out;
}

// PutUnit for a unit decoded from two or more input bytes, which leaves room
// for two output bytes: writes both and keeps one or two of them.
char* PutUnitWithRoom(char* out, char16_t unit) {
  const std::uint16_t bytes = cp936::EncodeUnit(unit);
  const bool two = bytes > 0xFF;
  out[0] = static_cast<char>(two ? bytes >> 8 : bytes);
  out[1] = static_cast<char>(bytes & 0xFF);
  return out + 1 + two;
}

// Writes a character as the converter sees it: one UTF-16 unit, or two
// surrogates for a character beyond U+FFFF, each encoded on its own.
char* PutCharacter(char* out, char32_t code) {
  if (code < 0x10000) return PutUnit(out, static_cast<char16_t>(code));
  code -= 0x10000;
  out = PutUnit(out, static_cast<char16_t>(0xD800 + (code >> 10)));
  return PutUnit(out, static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

// The character of a well-formed three-byte sequence at `p` (every CJK
// character has this form), or 0 when there is none there.
inline char32_t ThreeByteCharacter(const std::uint8_t* p, const std::uint8_t* end) {
  if (end - p < 3 || (p[0] & 0xF0) != 0xE0 || !IsContinuation(p[1]) || !IsContinuation(p[2])) {
    return 0;
  }
  const char32_t code = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
  const bool overlong_or_surrogate = code < 0x800 || (code >= 0xD800 && code <= 0xDFFF);
  return overlong_or_surrogate ? 0 : code;
}

// Eight bytes as a number whose lowest byte is the first in memory.
std::uint64_t LoadLittleEndian(const std::uint8_t* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native != std::endian::little) {
    std::uint64_t reversed = 0;
    for (int i = 0; i < 8; ++i, word >>= 8) reversed = reversed << 8 | (word & 0xFF);
    word = reversed;
  }
  return word;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Copies ASCII bytes up to the next non-ASCII byte or the end, a word at a
// time while a whole word is left; returns the new output position. The
// output never runs ahead of the input, so each word fits.
char* CopyAscii(const std::uint8_t*& p, const std::uint8_t* end, char* put) {
  while (end - p >= 8) {
    std::memcpy(put, p, 8);
    if (const std::uint64_t high = LoadLittleEndian(p) & kHighBits; high != 0) {
      const int ascii = std::countr_zero(high) / 8;
      p += ascii;
      return put + ascii;
    }
    p += 8;
    put += 8;
  }
  while (p < end && *p < 0x80) *put++ = static_cast<char>(*p++);
  return put;
}

}  // namespace

Text Utf8ToGbk(const ByteSet& body) {
  // Every input byte gives at most one output byte: a character of two to
  // four bytes gives at most two, anything malformed one "?" per byte or less.
  std::string out(body.size(), '\0');
  char* put = out.data();
  const std::uint8_t* p = body.data();
  const std::uint8_t* const end = p + body.size();
  // A zero byte is copied like any ASCII byte; the text keeps only what
  // stands before the first one, as the system's converters leave it.
  while (p < end) {
    if (*p < 0x80) {
      put = CopyAscii(p, end, put);
    } else if (char32_t code = ThreeByteCharacter(p, end); code != 0) {
      do {
        put = PutUnitWithRoom(put, static_cast<char16_t>(code));
        p += 3;
      } while ((code = ThreeByteCharacter(p, end)) != 0);
    } else {
      const Decoded decoded = DecodeSequence(p, end);
      p += decoded.bytes;
      put = PutCharacter(put, decoded.code);
    }
  }
  out.resize(static_cast<std::size_t>(put - out.data()));
  return Text(std::move(out));
}

}  // namespace zelmora
