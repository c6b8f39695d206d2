#include "text/collect_between.h"

#include <gtest/gtest.h>

#include <random>

#include "runtime/events.h"
#include "runtime/naive_search.h"
#include "text/text_slicing.h"

namespace zelmora {
namespace {

struct CollectCase {
  const char* source;
  const char* left;
  const char* right;
  CollectOptions options;
  std::vector<Text> expected;
};

TEST(CollectBetween, Cases) {
  const CollectCase cases[] = {
      {"[a][b]", "[", "]", {}, {"a", "b"}},
      {"[a[b]c]", "[", "]", {}, {"a[b", "b"}},  // the next pass starts behind the left marker
      {"\"a\" \"b\"", "\"", "\"", {}, {"a", " ", "b"}},
      {"[x]",
       "[",
       "]",
       {.prefix = "P", .suffix = "S", .includeLeftMarker = true, .includeRightMarker = true},
       {"[PxS]"}},
      {"[ab][abc]", "[", "]", {.maxLength = 3}, {"ab"}},
      {"[ab][abc]", "[", "]", {}, {"ab", "abc"}},
      {"[ab][abc]", "[", "]", {.maxLength = -1}, {}},
      {"[][]", "[", "]", {.prefix = "p"}, {"p", "p"}},
      {"[a[b", "[", "", {.suffix = "s"}, {"s", "s"}},  // an empty right marker
      {"[a[", "[", "", {}, {""}},                      // the last left marker ends the source
      {"[a][b", "[", "]", {}, {"a"}},                  // a left marker without a right one ends it
      {"[a][b]", "[", "]", {.startPosition = 2}, {"b"}},
      {"[a]", "", "]", {}, {}},  // an empty left marker collects nothing
      {"<A>x</a><a>y</A>", "<a>", "</a>", {.ignoreCase = true}, {"x", "y"}},
      {"\x81[a]", "[", "]", {}, {}},  // 81 5B is one character
      {"#\xD2\xFD\xBA\xC5x#\xD2\xFD\xBA\xC5",
       kQuotePlaceholder,
       "\"",
       {},
       {}},  // no placeholder meaning here
  };
  for (const CollectCase& c : cases) {
    TextList results{"stale"};
    const Position count = CollectBetween(c.source, c.left, c.right, results, c.options);
    EXPECT_EQ(results, c.expected) << "'" << c.source << "'";
    EXPECT_EQ(count, static_cast<Position>(results.size()));
  }
}

int pumped = 0;

TEST(CollectBetween, PumpsEventsThreeTimesPerPassThatFoundBothMarkers) {
  SetEventPump([] { ++pumped; });
  TextList results;
  CollectBetween("[a][bb][c", "[", "]", results, {.maxLength = 2});
  SetEventPump(nullptr);
  EXPECT_EQ(results, (TextList{"a"}));
  EXPECT_EQ(pumped, 6);  // two passes found both markers; one was dropped by the limit
}

// The collection straight from its definition, with the reference search.
TextList NaiveCollect(const std::string& source, const std::string& left,
                      const std::string& right) {
  TextList results;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t a = testing::NaiveFind(source, left, pos, false);
    if (a == std::string::npos) break;
    pos = a + left.size();
    const std::size_t c = testing::NaiveFind(source, right, pos, false);
    if (c == std::string::npos) break;
    results.emplace_back(source.substr(pos, c - pos));
  }
  return results;
}

TEST(CollectBetween, MatchesReferenceOnRandomDoubleByteTexts) {
  std::mt19937 random(42);
  for (int round = 0; round < 5000; ++round) {
    const std::string source = testing::RandomDoubleByteText(random, 60);
    const std::string left = testing::RandomDoubleByteText(random, 2);
    const std::string right = testing::RandomDoubleByteText(random, 2);
    if (left.empty() || right.empty()) continue;
    TextList results;
    CollectBetween(source, left, right, results);
    EXPECT_EQ(results, NaiveCollect(source, left, right)) << "round " << round;
  }
}

}  // namespace
}  // namespace zelmora
