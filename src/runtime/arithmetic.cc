#include "runtime/arithmetic.h"

#include <cmath>

#include "runtime/stop.h"

namespace zelmora {

std::uint8_t ToByte(std::int64_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

std::int32_t BitAnd(std::initializer_list<std::int32_t> values) {
  std::int32_t result = -1;
  for (const std::int32_t value : values) result &= value;
  return values.size() == 0 ? 0 : result;
}

std::int32_t ShiftLeft(std::int32_t value, int n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << (n & 31));
}

std::int32_t ShiftRight(std::int32_t value, int n) { return value >> (n & 31); }

double Remainder(double a, double b) {
  if (b == 0) StopProgram(kIndexPastCount, "division by zero in Remainder");
  return std::fmod(a, b);
}

}  // namespace zelmora
