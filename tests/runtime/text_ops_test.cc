#include "runtime/text_ops.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(Text, KeepsWhatStandsBeforeTheFirstZeroByte) {
  EXPECT_EQ(Text(std::string_view("ab\0cd", 5)), Text("ab"));
  EXPECT_EQ(Text(std::string("\0x", 2)), Text(""));
  EXPECT_EQ(Text(nullptr), Text(""));
  Text text = "a";
  text += Text(std::string_view("b\0c", 3));
  EXPECT_EQ(text, Text("ab"));
}

TEST(TextSlices, LeftRightMid) {
  struct Case {
    Text actual;
    const char* expected;
  };
  const Case cases[] = {
      {TextLeft("abc", 2), "ab"},    {TextLeft("abc", 9), "abc"},
      {TextLeft("abc", 0), ""},      {TextLeft("abc", -1), ""},
      {TextRight("abc", 2), "bc"},   {TextRight("abc", 9), "abc"},
      {TextRight("abc", -2), ""},    {TextMid("abcd", 2, 2), "bc"},
      {TextMid("abcd", 3, 9), "cd"}, {TextMid("abcd", 0, 2), ""},
      {TextMid("abcd", 5, 1), ""},   {TextMid("abcd", 1, 0), ""},
      {BlankText(3), "   "},         {BlankText(0), ""},
      {BlankText(-4), ""},           {ConcatText({"a", "", "bc"}), "abc"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, Text(c.expected));
}

TEST(CharCode, FirstByteAsSigned) {
  EXPECT_EQ(CharCode("A"), 65);
  EXPECT_EQ(CharCode("\x80"), -128);
  EXPECT_EQ(CharCode("\xFF"), -1);
  EXPECT_EQ(CharCode(""), 0);
}

TEST(Spaces, TrimAndRemoveWalkCharacters) {
  struct Case {
    const char* text;
    const char* trimmed;
    const char* removed;
  };
  const Case cases[] = {
      {"  a b  ", "a b", "ab"},
      {"\ta \xA1\xA1", "\ta", "\ta"},  // a tab stays; a final ideographic space goes
      {"\xA1\xA1x\xA1\xA1", "x", "x"},
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1", "\xB0\xA1"},         // B0 A1, then A1 A1
      {"x\xB0\xA1\xA1", "x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},  // B0 A1, then a lone A1
      {"\x81 ", "\x81 ", "\x81 "},                          // 81 20 is one character, not a space
      {"   ", "", ""},
      {"\r\n x", "\r\n x", "\r\nx"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrimBoth(c.text), Text(c.trimmed)) << "'" << c.text << "'";
    EXPECT_EQ(RemoveSpaces(c.text), Text(c.removed)) << "'" << c.text << "'";
  }
}

TEST(ToUpper, FoldsOnlyAsciiLettersOutsideDoubleByteCharacters) {
  EXPECT_EQ(ToUpper("user-agent: x1"), Text("USER-AGENT: X1"));
  EXPECT_EQ(ToUpper("\x81"
                    "a"
                    "b"),
            Text("\x81"
                 "aB"));
  EXPECT_EQ(ToUpper("a\x81"), Text("A\x81"));  // a final lone lead byte stays
  EXPECT_EQ(TextEquals("a", "A"), false);
  EXPECT_EQ(TextEquals("", Text()), true);
}

}  // namespace
}  // namespace zelmora
