#include "text/utf8_to_gbk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "text/code_page_test_util.h"
#include "text/cp936_table.h"

namespace zelmora {
namespace {

using testing::HexBytes;
using testing::Join;
using testing::ToHex;

std::string Convert(std::string_view utf8) { return Utf8ToGbk(BytesOf(utf8)).str(); }

struct Case {
  const char* name;
  std::string input;     // UTF-8 bytes
  std::string expected;  // code page 936 bytes
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(ToHex(Convert(c.input)), ToHex(c.expected)) << c.name << ": input " << ToHex(c.input);
  }
}

TEST(Utf8ToGbk, WellFormedText) {
  ExpectCases({
      {"empty body", "", ""},
      {"ASCII", "<a href=\"/x?y=1&z=2\">Hello, world!</a>\r\n",
       "<a href=\"/x?y=1&z=2\">Hello, world!</a>\r\n"},
      {"two Chinese characters", HexBytes("E4 BD A0 E5 A5 BD"), HexBytes("C4 E3 BA C3")},
      {"mixed", Join({"a", HexBytes("E4 BD A0"), "bcdefghij"}),
       Join({"a", HexBytes("C4 E3"), "bcdefghij"})},
      {"DEL stays", "\x7f", "\x7f"},
      {"ideographic space", HexBytes("E3 80 80"), HexBytes("A1 A1")},
      {"euro sign is one byte", HexBytes("E2 82 AC"), HexBytes("80")},
      {"U+F8F5 is one byte", HexBytes("EF A3 B5"), HexBytes("FF")},
      {"private use", HexBytes("EE 80 80"), HexBytes("AA A1")},
      {"best fit U+00C0", HexBytes("C3 80"), HexBytes("A8 A4")},
      {"best fit U+00A5", HexBytes("C2 A5"), HexBytes("A3 A4")},
      {"e acute", HexBytes("C3 A9"), HexBytes("A8 A6")},
  });
}

TEST(Utf8ToGbk, UnrepresentableCharactersBecomeQuestionMarks) {
  ExpectCases({
      {"no-break space", HexBytes("C2 A0"), "?"},
      {"U+0080", HexBytes("C2 80"), "?"},
      {"katakana middle dot", HexBytes("E3 83 BB"), "?"},
      {"U+FFFD itself", HexBytes("EF BF BD"), "?"},
      {"emoji: one per UTF-16 unit", HexBytes("F0 9F 98 80"), "??"},
      {"U+10000", HexBytes("F0 90 80 80"), "??"},
      {"U+10FFFF", HexBytes("F4 8F BF BF"), "??"},
      {"the rest is still converted", Join({HexBytes("C2 A0 E4 BD A0"), "x"}),
       Join({"?", HexBytes("C4 E3"), "x"})},
      {"byte-order mark kept and converted", Join({HexBytes("EF BB BF"), "<html>"}), "?<html>"},
  });
}

TEST(Utf8ToGbk, ZeroByteEndsTheText) {
  using namespace std::string_literals;
  ExpectCases({
      {"zero first", "\0abc"s, ""},
      {"zero after one byte", "a\0b"s, "a"},
      {"zero inside an ASCII run", "abcdefg\0hijklmnopqrstuvw"s, "abcdefg"},
      {"zero at a word's end", "abcdefghijklmno\0pqrstuvw"s, "abcdefghijklmno"},
      {"zero after a character", HexBytes("E4 BD A0 00 41"), HexBytes("C4 E3")},
      {"zero after a cut sequence", HexBytes("E4 BD 00 41"), "?"},
  });
}

// Each U+FFFD of the system's decoder becomes one "?"; characters around
// malformed input show where the decoder starts reading afresh.
TEST(Utf8ToGbk, MalformedSequencesAsTheSystemDecoderReplacesThem) {
  const std::string e_acute = HexBytes("A8 A6");
  ExpectCases({
      {"C0 80: two", HexBytes("C0 80"), "??"},
      {"C1 BF: two", HexBytes("C1 BF"), "??"},
      {"E0 80 80: two", HexBytes("E0 80 80"), "??"},
      {"ED A0 80 (surrogate): two", HexBytes("ED A0 80"), "??"},
      {"ED BF BF (surrogate): two", HexBytes("ED BF BF"), "??"},
      {"F0 80 80 80: three", HexBytes("F0 80 80 80"), "???"},
      {"F4 90 80 80: three", HexBytes("F4 90 80 80"), "???"},
      {"F5 80 80 80: four", HexBytes("F5 80 80 80"), "????"},
      {"F8 88 80 80 80: five", HexBytes("F8 88 80 80 80"), "?????"},
      {"FF", HexBytes("FF"), "?"},
      {"stray continuation byte", HexBytes("80"), "?"},
      {"stray continuation byte in ASCII", Join({"abcdefgh", HexBytes("BF"), "ijklmnop"}),
       "abcdefgh?ijklmnop"},
      {"C3 41", HexBytes("C3 41"), "?A"},
      {"E2 41 AC", HexBytes("E2 41 AC"), "?A?"},
      {"C2 C3 A9", HexBytes("C2 C3 A9"), Join({"?", e_acute})},
      {"E0 A0 41: valid start then ASCII", HexBytes("E0 A0 41"), "?A"},
      {"F0 90 80 41", HexBytes("F0 90 80 41"), "?A"},
      {"F0 90 80 C3 A9", HexBytes("F0 90 80 C3 A9"), Join({"?", e_acute})},
      {"E0 80 C3 A9", HexBytes("E0 80 C3 A9"), Join({"?", e_acute})},
      {"cut lead alone", HexBytes("E4"), "?"},
      {"cut after one byte", Join({"a", HexBytes("E4 BD")}), "a?"},
      {"cut four-byte sequence", HexBytes("F0 9F 98"), "?"},
      {"cut two-byte sequence", Join({"xyz", HexBytes("C3")}), "xyz?"},
      {"cut after an out-of-range byte", HexBytes("E0 80"), "?"},
  });
}

// A deliberately plain decoder written from the definition of well-formed
// UTF-8: a lead and the continuation bytes after it are kept while some
// completion of them still decodes to a scalar value in its shortest form.
class ReferenceConverter {
 public:
  static std::string Convert(std::string_view in) {
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
      const auto lead = static_cast<std::uint8_t>(in[i]);
      char32_t code = 0xFFFD;
      std::size_t length = 1;
      if (lead < 0x80) {
        code = lead;
      } else if (const int need = Continuations(lead);
                 need > 0 && CanBegin(in.substr(i, 1), need)) {
        std::size_t k = 0;
        while (k < static_cast<std::size_t>(need) && i + 1 + k < in.size() &&
               IsContinuation(in[i + 1 + k]) && CanBegin(in.substr(i, k + 2), need)) {
          ++k;
        }
        if (k == static_cast<std::size_t>(need)) {
          code = Decode(in.substr(i, k + 1));
        } else if (k == 0 && i + 1 < in.size() && IsContinuation(in[i + 1])) {
          k = 1;  // a lead with an out-of-range second byte: one U+FFFD for both
        }
        length = k + 1;
      }
      if (code == 0) break;
      i += length;
      if (code < 0x10000) {
        Put(out, static_cast<char16_t>(code));
      } else {
        Put(out, static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        Put(out, static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
      }
    }
    return out;
  }

 private:
  static bool IsContinuation(char c) { return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80; }

  static int Continuations(std::uint8_t lead) {
    if (lead >= 0xC0 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF7) return 3;
    return 0;
  }

  static char32_t Decode(std::string_view bytes) {
    char32_t code = static_cast<std::uint8_t>(bytes[0]) & (0x7F >> bytes.size());
    for (std::size_t i = 1; i < bytes.size(); ++i) code = code << 6 | (bytes[i] & 0x3F);
    return code;
  }

  // True when `prefix` followed by some continuation bytes makes a
  // well-formed sequence of need + 1 bytes.
  static bool CanBegin(std::string_view prefix, int need) {
    const std::string low = std::string(prefix) + std::string(need + 1 - prefix.size(), '\x80');
    const std::string high = std::string(prefix) + std::string(need + 1 - prefix.size(), '\xBF');
    const char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
    const char32_t from = std::max(Decode(low), shortest[need]);
    const char32_t to = std::min<char32_t>(Decode(high), 0x10FFFF);
    return from <= to && !(from >= 0xD800 && to <= 0xDFFF);
  }

  static void Put(std::string& out, char16_t unit) {
    const std::uint16_t bytes = cp936::EncodeUnit(unit);
    if (bytes >= 0x100) out += static_cast<char>(bytes >> 8);
    out += static_cast<char>(bytes & 0xFF);
  }
};

TEST(Utf8ToGbk, ReferenceAgreesWithTheMalformedExamples) {
  for (const char* hex : {"C0 80", "E0 80 80", "ED A0 80", "F4 90 80 80", "E2 41 AC", "C2 C3 A9",
                          "F0 9F 98", "E4 BD A0 E5 A5 BD"}) {
    EXPECT_EQ(ToHex(ReferenceConverter::Convert(HexBytes(hex))), ToHex(Convert(HexBytes(hex))))
        << hex;
  }
}

// Random bytes drawn mostly from the bytes that matter to the decoder, in
// texts long enough to use the word-wise ASCII path.
TEST(Utf8ToGbk, MatchesTheReferenceOnRandomInput) {
  static constexpr std::uint8_t kInteresting[] = {
      0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3,
      0xDF, 0xE0, 0xE1, 0xE4, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xFF};
  std::mt19937 random(936);
  for (int round = 0; round < 20000; ++round) {
    std::string input(random() % 40, '\0');
    const unsigned ascii_share = random() % 4;  // sometimes mostly ASCII
    for (char& c : input) {
      const unsigned pick = random() % 8;
      if (pick < ascii_share * 2) {
        c = static_cast<char>('a' + random() % 26);
      } else if (pick == 7) {
        c = static_cast<char>(random() % 256);
      } else {
        c = static_cast<char>(kInteresting[random() % std::size(kInteresting)]);
      }
    }
    // Keep most inputs free of zero bytes so that the whole text is compared.
    if (round % 4 != 0) std::replace(input.begin(), input.end(), '\0', 'z');
    const std::string converted = Convert(input);
    ASSERT_EQ(ToHex(converted), ToHex(ReferenceConverter::Convert(input)))
        << "input " << ToHex(input);
    ASSERT_LE(converted.size(), input.size());
  }
}

TEST(Utf8ToGbk, EveryCodePointConvertsLikeTheReference) {
  std::string all;
  for (char32_t code = 1; code <= 0x10FFFF; code += code < 0x10000 ? 1 : 97) {
    all += testing::Utf8Of(code);  // surrogates included: each is malformed
  }
  EXPECT_EQ(Convert(all), ReferenceConverter::Convert(all));
}

}  // namespace
}  // namespace zelmora
