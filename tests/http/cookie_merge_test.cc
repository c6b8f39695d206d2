#include "http/cookie_merge.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

using ::testing::ElementsAre;

struct MergeCase {
  const char* sent;
  const char* returned;
  const char* merged;
};

TEST(MergeCookies, KeepsReturnedCookiesAddsNewSentOnesAndDropsDeletedAndRepeats) {
  const MergeCase cases[] = {
      {"a=1; b=2", "b=9; c=3", "b=9; c=3; a=1"},
      {" x = 1 ", "", "x=1"},
      {"sid=7", "sid=deleted; c=3", "c=3"},
      {"k=deleted", "", ""},
      {"", "a=1; a=1; a=2", "a=1; a=2"},
      {"n=1; n=2", "", "n=1"},
      {"", "a=1; ", "a=1"},
      {"", "a=1;;b=2", "a=1; ; b=2"},
      {"", "a=Deleted", "a=Deleted"},
      {"", "a=b=deleted", ""},
      {"", "", ""},
      {"a\xa1\xa1=1", "", "a=1"},  // the ideographic space is a space too
      {"flag; a=1", "flag", "flag; a=1"},
  };
  for (const MergeCase& c : cases) {
    Text sent = c.sent;
    Text returned = c.returned;
    EXPECT_EQ(MergeCookies(sent, returned), Text(c.merged)) << c.sent << " | " << c.returned;
    EXPECT_EQ(sent, Text(c.merged));
  }
}

TEST(MergeCookies, LeavesTheReturnedVariableWithoutSpaces) {
  Text sent = "a = 1";
  Text returned = " b=2 ; c=3";
  MergeCookies(sent, returned);
  EXPECT_EQ(returned, Text("b=2;c=3"));
  EXPECT_EQ(sent, Text("b=2; c=3; a=1"));
}

TEST(MergeCookies, StaysLinearForManyCookies) {
  std::string many;
  for (int i = 0; i < 50000; ++i) {
    many += 'c';
    many += std::to_string(i % 25000);
    many += "=1;";
  }
  Text sent = Text(many);
  Text returned = Text(many);
  const Text merged = MergeCookies(sent, returned);
  EXPECT_EQ(std::count(merged.view().begin(), merged.view().end(), ';'), 24999);
}

TEST(CookieName, IsThePartBeforeTheFirstEqualsSignTrimmed) {
  const std::pair<const char*, const char*> cases[] = {
      {" a = 1", "a"}, {"flag", "flag"}, {"=v", ""}, {"a=b=c", "a"}, {"", ""},
  };
  for (const auto& [cookie, name] : cases) EXPECT_EQ(CookieName(cookie), Text(name)) << cookie;
}

TEST(CookieListHasName, ComparesNamesWithLetterCase) {
  const TextList cookies = {"a=1", " B =2"};
  EXPECT_TRUE(CookieListHasName(cookies, "a"));
  EXPECT_TRUE(CookieListHasName(cookies, "B"));
  EXPECT_FALSE(CookieListHasName(cookies, "b"));
  EXPECT_FALSE(CookieListHasName({}, ""));
}

struct JoinCase {
  const char* source;
  const char* separator;
  bool splitBySeparator;
  const char* joined;
};

TEST(JoinDistinct, KeepsFirstOccurrencesInOrder) {
  const JoinCase cases[] = {
      {"b,a,b", ",", true, "b,a"},
      {"hello", "-", false, "h-e-l-o"},
      {"aabbc", "", false, "abc"},
      {"", ",", true, ""},
      {",,", ",", true, ""},
      {"a; ; a; ", "; ", true, "a; "},
      {"\xc4\xe3\xc4\xe3x", "", false, "\xc4\xe3x"},
  };
  for (const JoinCase& c : cases) {
    EXPECT_EQ(JoinDistinct(c.source, c.separator, c.splitBySeparator), Text(c.joined)) << c.source;
  }
}

TEST(SplitCharacters, KeepsDoubleByteCharactersAndCrLfTogether) {
  TextList characters = {"old"};
  EXPECT_EQ(SplitCharacters("a\r\nb\r", characters), 4);
  EXPECT_THAT(characters, ElementsAre("a", "\r\n", "b", "\r"));
  // 80 hex stands alone; a lead byte at the end is a character by itself.
  EXPECT_EQ(SplitCharacters("\x80"
                            "a\xc4\xe3\x81",
                            characters),
            4);
  EXPECT_THAT(characters, ElementsAre("\x80", "a", "\xc4\xe3", "\x81"));
  EXPECT_EQ(SplitCharacters("", characters), 0);
  EXPECT_TRUE(characters.empty());
}

TEST(FindInList, GivesTheFirstEqualMemberWithLetterCase) {
  EXPECT_EQ(FindInList({"a"}, "A"), -1);
  EXPECT_EQ(FindInList({"x", "y", "y"}, "y"), 2);
  EXPECT_EQ(FindInList({}, ""), -1);
  EXPECT_EQ(FindInList({"x", ""}, ""), 2);
}

}  // namespace
}  // namespace zelmora
