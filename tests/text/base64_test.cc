#include "text/base64.h"

#include <gtest/gtest.h>

#include <random>

namespace zelmora {
namespace {

ByteSet Decode(std::string_view encoded) {
  auto value = [](char c) -> unsigned {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0' + 52);
    return c == '+' ? 62u : 63u;
  };
  ByteSet bytes;
  unsigned buffer = 0;
  int bits = 0;
  for (const char c : encoded) {
    if (c == '=') break;
    buffer = (buffer << 6) | value(c);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes.push_back(static_cast<std::uint8_t>(buffer >> bits));
    }
  }
  return bytes;
}

TEST(Base64Encode, Cases) {
  struct Case {
    ByteSet input;
    const char* expected;
    ByteSet inputAfter;
  };
  const Case cases[] = {
      {{}, "", {}},
      {{'M'}, "TQ==", {'M', 0, 0}},
      {{'M', 'a'}, "TWE=", {'M', 'a', 0}},
      {{'M', 'a', 'n'}, "TWFu", {'M', 'a', 'n'}},
      {{0, 0, 0}, "AAAA", {0, 0, 0}},
      {{'u', 's', 'e', 'r', ':'}, "dXNlcjo=", {'u', 's', 'e', 'r', ':', 0}},
      {{0xFB, 0xFF}, "+/8=", {0xFB, 0xFF, 0}},
  };
  for (Case c : cases) {
    EXPECT_EQ(Base64Encode(c.input), Text(c.expected));
    EXPECT_EQ(c.input, c.inputAfter) << c.expected;  // padded in place for the caller
  }
}

TEST(Base64Encode, RoundTripsRandomBytes) {
  std::mt19937 random(3);
  for (int round = 0; round < 2000; ++round) {
    ByteSet bytes(random() % 50);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    const ByteSet original = bytes;
    const Text encoded = Base64Encode(bytes);
    EXPECT_EQ(encoded.size(), (original.size() + 2) / 3 * 4);
    EXPECT_EQ(Decode(encoded.view()), original);
  }
}

}  // namespace
}  // namespace zelmora
