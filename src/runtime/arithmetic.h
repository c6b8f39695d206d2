#pragma once

#include <cstdint>
#include <initializer_list>

namespace zelmora {

// The low 8 bits of an integer.
std::uint8_t ToByte(std::int64_t value);
// Bitwise AND of all values.
std::int32_t BitAnd(std::initializer_list<std::int32_t> values);
// 32-bit shifts by n mod 32; the right shift copies the sign bit.
std::int32_t ShiftLeft(std::int32_t value, int n);
std::int32_t ShiftRight(std::int32_t value, int n);
// Floating-point remainder of a / b with the sign of a. A zero divisor stops
// the program.
double Remainder(double a, double b);

}  // namespace zelmora
