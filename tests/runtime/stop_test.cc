#include "runtime/stop.h"

#include <gtest/gtest.h>

#include "runtime/arithmetic.h"
#include "runtime/bytes.h"
#include "runtime/text_list.h"

namespace zelmora {
namespace {

// The index guards end the process at once with their code and message.
TEST(IndexGuardsDeathTest, StopWithCodeAndMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const TextList list{"a"};
  const ByteSet bytes{1};
  EXPECT_EXIT(ListItem(list, 0), ::testing::ExitedWithCode(4), "数组成员引用下标必须大于等于1");
  EXPECT_EXIT(ListItem(list, 2), ::testing::ExitedWithCode(1), "数组成员引用下标超出定义范围");
  EXPECT_EXIT(ByteAt(bytes, -3), ::testing::ExitedWithCode(4), "必须大于等于1");
  EXPECT_EXIT(ByteAt(bytes, 2), ::testing::ExitedWithCode(1), "超出定义范围");
  EXPECT_EXIT(Remainder(1, 0), ::testing::ExitedWithCode(1), "division by zero");
}

TEST(TextList, CountItemAppend) {
  TextList list;
  EXPECT_EQ(ListCount(list), 0);
  Text source = "x";
  ListAppend(list, source);
  source = "changed";  // the list owns a copy
  ListAppend(list, "y");
  EXPECT_EQ(ListCount(list), 2);
  EXPECT_EQ(ListItem(list, 1), Text("x"));
  EXPECT_EQ(ListItem(list, 2), Text("y"));
}

}  // namespace
}  // namespace zelmora
