#include "text/text_slicing.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(FindTextFrom, ComparesBytesBlindToCharacters) {
  struct Case {
    const char* source;
    const char* sought;
    Position start;
    bool ignoreCase;
    Position expected;
  };
  const Case cases[] = {
      {"abcABC", "B", 0, false, 5},
      {"abcABC", "B", 0, true, 2},
      {"abab", "ab", 2, false, 3},  // positions count from the start of the source
      {"", "a", 0, false, -1},
      {"abc", "", 0, false, -1},
      {"abc", "c", 4, false, -1},   // length + 1
      {"abc", "a", 0, false, 1},    // 0 behaves as 1
      {"abc", "a", -3, false, -1},  // outside the defined range: nothing read, not found
      {"abc", "a", 99, false, -1},
      {"\x81\x41", "A", 0, false, 2},  // may match a second byte
      {"\x81\x41", "a", 0, true, 2},   // and folds it like a letter
      {"x/showmc/y", "/showmc/", 0, false, 2},
      {"x/SHOWMC/y", "/showmc/", 0, false, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindTextFrom(c.source, c.sought, c.start, c.ignoreCase), c.expected)
        << "'" << c.source << "' / '" << c.sought << "' from " << c.start;
  }
}

TEST(TextBefore, Cases) {
  EXPECT_EQ(TextBefore("Set-Cookie: a=1", ": "), Text("Set-Cookie"));
  EXPECT_EQ(TextBefore("a:b:c", ":", 3), Text("a:b"));  // the piece starts at position 1
  EXPECT_EQ(TextBefore(": x", ": "), Text(""));
  EXPECT_EQ(TextBefore("abc", ":"), Text(""));
  EXPECT_EQ(TextBefore("a:b", ":", 3), Text(""));
  EXPECT_EQ(TextBefore("a:b", ""), Text(""));
  EXPECT_EQ(TextBefore("aXb", "x", 1, true), Text("a"));
  EXPECT_EQ(TextBefore("a:b", ":", -5), Text("a"));
}

TEST(TextBetween, Cases) {
  struct Case {
    const char* source;
    const char* left;
    const char* right;
    Position start;
    const char* expected;
  };
  const Case cases[] = {
      {"x=\"1\" y=\"2\"", "\"", "\"", 1, "1"},
      {"x=\"1\" y=\"2\"", kQuotePlaceholder, kQuotePlaceholder, 1, "1"},
      {"b]a[", "[", "]", 1, ""},    // the right marker only in front of the left
      {"a[]b", "[", "]", 1, ""},    // the right marker right after the left
      {"abc", "[", "]", 1, ""},     // no left marker
      {"a[b]", "[", "", 1, ""},     // an empty right marker
      {"ab]c]", "", "]", 1, "ab"},  // an empty left marker: from position 1
      {"ab]c]", "", "]", 4, "ab"},  // whatever the start
      {"ab", "", "]", 1, ""},
      {"[a][b]", "[", "]", 2, "b"},  // a start past the first marker takes the next
      {"Location: http://m/x\r\nA: b", "Location: ", "\r\n", 1, "http://m/x"},
      {"Content-Location: x\r\nLocation: y\r\n", "Location: ", "\r\n", 1, "x"},
      {"location: y\r\n", "Location: ", "\r\n", 1, ""},
      {"var h5srcur2 = \"no\"; var h5srcur = \"yes\";", "var h5srcur", ";", 1, "2 = \"no\""},
      {"[\x81]x]", "[", "]", 1, "\x81]x"},  // 81 5D is one character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.source, c.left, c.right, c.start), Text(c.expected))
        << "'" << c.source << "' between '" << c.left << "' and '" << c.right << "'";
  }
  EXPECT_EQ(TextBetween("<A>x</a>", "<a>", "</A>", 1, true), Text("x"));
}

}  // namespace
}  // namespace zelmora
