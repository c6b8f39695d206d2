#pragma once

// Splits a fuzzer's input into a few small numbers and texts, so each target
// can drive an operation with every argument taken from the input.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/text.h"

namespace zelmora::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // A small signed number from one byte: -8 to 119.
  Position SmallNumber() { return static_cast<Position>(Byte()) - 8; }
  bool Flag() { return (Byte() & 1) != 0; }

  // The bytes up to the next 0xFF (or the end); the text keeps what stands
  // before a zero byte, as every Text does.
  Text NextText() {
    const std::size_t end = rest_.find('\xFF');
    const std::string_view piece = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    return Text(piece);
  }

 private:
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }

  std::string_view rest_;
};

// Stops the fuzzer with a crash when an invariant does not hold.
inline void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace zelmora::fuzz
