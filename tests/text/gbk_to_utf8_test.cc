#include "text/gbk_to_utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "text/code_page_test_util.h"
#include "text/cp936_table.h"
#include "text/utf8_to_gbk.h"

namespace zelmora {
namespace {

using testing::HexBytes;
using testing::Join;
using testing::ToHex;
using testing::Utf8Of;

std::string ToGbk(std::string_view utf8) { return Utf8ToGbk(BytesOf(utf8)).str(); }

// True when `s` is well-formed UTF-8 (shortest forms, no surrogates).
bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<std::uint8_t>(s[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > s.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      code = code << 6 | (s[i + k] & 0x3F);
    }
    if (Utf8Of(code).size() != length || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

TEST(GbkToUtf8, Characters) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string gbk, utf8;
  } const cases[] = {
      {"empty", "", ""},
      {"ASCII", "<p class=\"x\">Hi</p>\r\n", "<p class=\"x\">Hi</p>\r\n"},
      {"two Chinese characters", HexBytes("C4 E3 BA C3"), HexBytes("E4 BD A0 E5 A5 BD")},
      {"first double-byte code", HexBytes("81 40"), Utf8Of(0x4E02)},
      {"last double-byte code", HexBytes("FE FE"), Utf8Of(0xE4C5)},
      {"ideographic space", HexBytes("A1 A1"), Utf8Of(0x3000)},
      {"private use", HexBytes("AA A1"), Utf8Of(0xE000)},
      {"byte 80 is the euro sign", HexBytes("80"), Utf8Of(0x20AC)},
      {"byte FF", HexBytes("FF"), Utf8Of(0xF8F5)},
      {"zero bytes are kept", "a\0b"s, "a\0b"s},
      {"lead byte last", Join({"a", HexBytes("81")}), "a?"},
      {"lead byte before ASCII keeps the ASCII", HexBytes("B0 22 41"), "?\"A"},
      {"lead byte before DEL", HexBytes("81 7F"), "?\x7F"},
      {"lead byte before FF", HexBytes("81 FF"), Join({"?", Utf8Of(0xF8F5)})},
      {"lead byte before zero", HexBytes("81 00"), "?\0"s},
      {"lead byte before a pair", HexBytes("81 20 C4 E3"), Join({"? ", Utf8Of(0x4F60)})},
      {"two lead bytes form a pair", HexBytes("C4 C4 E3"), Join({Utf8Of(0x54EA), "?"})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToHex(GbkToUtf8(c.gbk)), ToHex(c.utf8)) << c.name;
  }
}

// Every character of the code page: its single byte or its lead and trail.
std::vector<std::string> AllCharacters() {
  std::vector<std::string> all;
  for (unsigned byte = 1; byte < 0x100; ++byte) {
    if (!cp936::IsLeadByte(byte)) all.push_back(std::string(1, static_cast<char>(byte)));
  }
  for (unsigned lead = cp936::kLeadFirst; lead <= cp936::kLeadLast; ++lead) {
    for (unsigned trail = cp936::kTrailFirst; trail <= cp936::kTrailLast; ++trail) {
      if (trail != 0x7F) all.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  return all;
}

// The code points the code page holds exactly are those its characters
// decode to; each of them, and only they, survive the trip to code page 936
// and back. Best-fit characters come back as their equivalent instead.
TEST(GbkToUtf8, EveryCharacterOfTheCodePageRoundTrips) {
  std::set<std::string> held;
  for (const std::string& gbk : AllCharacters()) {
    const std::string utf8 = GbkToUtf8(gbk);
    ASSERT_TRUE(gbk == "?" || utf8 != "?") << ToHex(gbk);
    ASSERT_EQ(ToHex(ToGbk(utf8)), ToHex(gbk)) << "U+" << ToHex(utf8);
    held.insert(utf8);
  }
  EXPECT_EQ(held.size(), 24069u) << "one code point per character, U+0000 aside";

  std::size_t round_trips = 0, best_fit = 0;
  for (char32_t code = 1; code < 0x10000; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const std::string utf8 = Utf8Of(code);
    const std::string gbk = ToGbk(utf8);
    if (GbkToUtf8(gbk) == utf8) {
      ++round_trips;
      ASSERT_TRUE(held.count(utf8)) << "U+" << ToHex(utf8);
    } else if (gbk != "?") {
      ++best_fit;
    }
  }
  EXPECT_EQ(round_trips, held.size());
  EXPECT_EQ(best_fit, 412u);
}

TEST(GbkToUtf8, RandomDoubleByteTextsRoundTrip) {
  const std::vector<std::string> all = AllCharacters();
  std::mt19937 random(20);
  for (int round = 0; round < 2000; ++round) {
    std::string gbk;
    for (unsigned n = random() % 30; n > 0; --n) gbk += all[random() % all.size()];
    const std::string utf8 = GbkToUtf8(gbk);
    ASSERT_TRUE(IsValidUtf8(utf8)) << ToHex(gbk);
    ASSERT_EQ(ToHex(ToGbk(utf8)), ToHex(gbk));
  }
}

// Arbitrary bytes give valid UTF-8, and what that converts back to is
// stable from then on.
TEST(GbkToUtf8, RandomBytesGiveValidUtf8) {
  std::mt19937 random(21);
  for (int round = 0; round < 5000; ++round) {
    std::string bytes(random() % 24, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 256);
    const std::string utf8 = GbkToUtf8(bytes);
    ASSERT_TRUE(IsValidUtf8(utf8)) << ToHex(bytes);
    const std::string gbk = ToGbk(utf8);
    ASSERT_EQ(ToHex(ToGbk(GbkToUtf8(gbk))), ToHex(gbk)) << ToHex(bytes);
  }
}

}  // namespace
}  // namespace zelmora
