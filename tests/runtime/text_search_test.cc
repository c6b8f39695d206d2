#include "runtime/text_search.h"

#include <gtest/gtest.h>

#include "runtime/naive_search.h"

namespace zelmora {
namespace {

struct FindCase {
  const char* text;
  const char* sought;
  Position start;
  bool ignoreCase;
  Position expected;
};

TEST(FindText, Cases) {
  const FindCase cases[] = {
      {"Set-Cookie: x", "cookie:", 1, true, 5},
      {"Set-Cookie: x", "cookie:", 1, false, -1},
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "bc", 0, false, 2},  // a start below 1 counts as 1
      {"abcabc", "bc", -7, false, 2},
      {"abcabc", "c", 7, false, -1},  // past the last byte
      {"abc", "", 1, false, 1},       // empty sought: 1 when a byte lies at or after start
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", 1, false, -1},
      {"", "a", 1, false, -1},
      {"\x81\x41", "A", 1, false, -1},  // never on the second byte of a character
      {"\x81\x41"
       "A",
       "A", 1, false, 3},
      {"\x81\x41", "a", 1, true, -1},
      {"\xD6\xD0\xD6\xD0", "\xD0\xD6", 1, false, -1},
      {"\xD6\xD0\xD6\xD0", "\xD6\xD0", 2, false, 3},
      {"x\x81", "\x81", 1, false, 2},  // a final lone lead byte is a character
      {"ABC", "abc", 1, true, 1},
      {"\xC1\xC1", "\xE1\xE1", 1, true, -1},  // only A to Z fold
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
        << "text '" << c.text << "' sought '" << c.sought << "' start " << c.start;
  }
}

struct ReplaceCase {
  const char* text;
  const char* sought;
  const char* replacement;
  Position start;
  Position count;
  bool caseSensitive;
  const char* expected;
};

TEST(ReplaceText, Cases) {
  const ReplaceCase cases[] = {
      {"Cookie: a=1; COOKIE:b", "Cookie:", "", 1, -1, false, " a=1; b"},
      {"Cookie: a=1; COOKIE:b", "Cookie:", "", 1, -1, true, " a=1; COOKIE:b"},
      {"aaaa", "aa", "b", 1, -1, true, "bb"},     // no overlap
      {"aaa", "a", "aa", 1, -1, true, "aaaaaa"},  // replacements not searched again
      {"abab", "ab", "x", 2, -1, true, "abx"},    // bytes before start stay
      {"ababab", "ab", "x", 1, 2, true, "xxab"},  // after count replacements the rest stays
      {"abab", "ab", "x", 1, 0, true, "abab"},    // count 0: no change
      {"abab", "", "x", 1, -1, true, "abab"},     // empty sought: no change
      {"abab", "ab", "x", 5, -1, true, "abab"},   // start past the end
      {"\x81\x41"
       "A",
       "A", "B", 1, -1, true,
       "\x81\x41"
       "B"},
      {"#\xD2\xFD\xBA\xC5x#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", "\"", 1, -1, true, "\"x\""},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.sought, c.replacement, c.start, c.count, c.caseSensitive),
              Text(c.expected))
        << "text '" << c.text << "' sought '" << c.sought << "'";
  }
}

TEST(SplitText, Cases) {
  struct Case {
    const char* text;
    const char* separator;
    Position maxPieces;
    std::vector<Text> expected;
  };
  const Case cases[] = {
      {"a;;b;", ";", 0, {"a", "", "b"}},
      {";a", ";", 0, {"", "a"}},
      {";", ";", 0, {""}},
      {"", ";", 0, {}},
      {"a;b", "", 0, {"a;b"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a\r\nb\r\n\r\nc", "\r\n", 0, {"a", "b", "", "c"}},
      {"\x81;x;y", ";", 0, {"\x81;x", "y"}},  // 81 3B is one character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.separator, c.maxPieces), c.expected) << "text '" << c.text << "'";
  }
}

// Random double-byte texts and sought texts against the reference that walks
// characters from the first byte.
TEST(FindText, MatchesCharacterByCharacterReference) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = testing::RandomDoubleByteText(random, 40);
    const std::string sought = testing::RandomDoubleByteText(random, 3);
    if (sought.empty()) continue;
    const bool ignoreCase = round % 2 == 1;
    const Position start = static_cast<Position>(random() % (text.size() + 2));
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    const std::size_t expected = testing::NaiveFind(text, sought, from, ignoreCase);
    EXPECT_EQ(FindText(text, sought, start, ignoreCase),
              expected == std::string::npos ? -1 : static_cast<Position>(expected) + 1)
        << "round " << round;
  }
}

TEST(ReplaceAndSplit, MatchReferenceOnRandomTexts) {
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    const std::string text = testing::RandomDoubleByteText(random, 40);
    const std::string sought = testing::RandomDoubleByteText(random, 2);
    if (sought.empty()) continue;
    std::string replaced;
    std::vector<Text> pieces;
    std::size_t at = 0;
    std::size_t pieceStart = 0;
    const std::vector<bool> starts = testing::CharStarts(text);
    while (at < text.size()) {
      if (starts[at] && testing::SameAt(text, at, sought, false)) {
        replaced += "<>";
        pieces.emplace_back(text.substr(pieceStart, at - pieceStart));
        at += sought.size();
        pieceStart = at;
        // Characters re-align after a match that ends inside one.
      } else {
        replaced += text[at];
        ++at;
      }
    }
    if (pieceStart < text.size()) pieces.emplace_back(text.substr(pieceStart));
    EXPECT_EQ(ReplaceText(text, sought, "<>", 1, -1, true), Text(replaced)) << "round " << round;
    EXPECT_EQ(SplitText(text, sought), pieces) << "round " << round;
  }
}

// A text made of one double-byte character searched for a sought text that
// begins inside it at every other byte stays correct (the fast search turns to
// the streaming one there).
TEST(FindText, PeriodicDoubleByteText) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "\x81\x41";
  EXPECT_EQ(FindText(text, "\x41\x81\x41\x81"), -1);
  EXPECT_EQ(FindText(text + "A\x81\x41\x81", "\x41\x81\x41\x81"), 2001);
  EXPECT_EQ(FindText(text, "\x81\x41\x81\x41", 2), 3);
}

// Long runs of near matches push the searches onto their streaming matcher;
// the results stay those of the reference.
TEST(FindText, NearMatchesEverywhere) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    std::string text(300 + random() % 200, 'a');
    for (int k = 0; k < 3; ++k) text[random() % text.size()] = "Bb\x81"[random() % 3];
    const std::string sought = std::string(10 + random() % 10, round % 2 ? 'A' : 'a') + "b";
    for (const bool ignoreCase : {false, true}) {
      const std::size_t expected = testing::NaiveFind(text, sought, 0, ignoreCase);
      EXPECT_EQ(FindText(text, sought, 1, ignoreCase),
                expected == std::string::npos ? -1 : static_cast<Position>(expected) + 1)
          << "round " << round << " ignoreCase " << ignoreCase;
    }
  }
}

}  // namespace
}  // namespace zelmora
