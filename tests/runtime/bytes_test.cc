#include "runtime/bytes.h"

#include <gtest/gtest.h>

#include "runtime/arithmetic.h"

namespace zelmora {
namespace {

TEST(ByteSets, ConvertSliceAndJoin) {
  EXPECT_EQ(ToText(ByteSet{0x41, 0x00, 0x42}), Text("A"));
  EXPECT_EQ(ToText(ByteSet{}), Text(""));
  EXPECT_EQ(ToBytes("ab"), (ByteSet{'a', 'b'}));
  EXPECT_EQ(BytesLength(ByteSet{0, 0, 0}), 3);
  EXPECT_EQ(BlankBytes(2), (ByteSet{0, 0}));
  EXPECT_TRUE(BlankBytes(0).empty());
  EXPECT_EQ(ConcatBytes({ByteSet{1}, ByteSet{}, ByteSet{2, 3}}), (ByteSet{1, 2, 3}));
  EXPECT_TRUE(BytesEqual(ByteSet{1, 0}, ByteSet{1, 0}));
  EXPECT_FALSE(BytesEqual(ByteSet{1, 0}, ByteSet{1}));

  const ByteSet bytes{1, 2, 3, 4};
  EXPECT_EQ(BytesMid(bytes, 2, 2), (ByteSet{2, 3}));
  EXPECT_EQ(BytesMid(bytes, 3, 10), (ByteSet{3, 4}));  // clipped to the set
  EXPECT_EQ(BytesMid(bytes, 0, 2), (ByteSet{1}));
  EXPECT_TRUE(BytesMid(bytes, 5, 1).empty());
  EXPECT_TRUE(BytesMid(bytes, 1, 0).empty());
  EXPECT_EQ(ByteAt(bytes, 4), 4);
}

TEST(Arithmetic, ThirtyTwoBitRules) {
  EXPECT_EQ(ToByte(0x1FF), 0xFF);
  EXPECT_EQ(ToByte(-1), 0xFF);
  EXPECT_EQ(BitAnd({0xF0F, 0x0FF}), 0x00F);
  EXPECT_EQ(ShiftLeft(1, 31), INT32_MIN);
  EXPECT_EQ(ShiftRight(-8, 1), -4);  // the sign bit is copied
  EXPECT_EQ(ShiftRight(8, 33), 4);   // counts wrap at 32
  EXPECT_EQ(Remainder(7, 3), 1);
  EXPECT_EQ(Remainder(-7, 3), -1);  // sign of the dividend
  EXPECT_EQ(Remainder(7.5, 3), 1.5);
}

}  // namespace
}  // namespace zelmora
