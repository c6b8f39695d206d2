#pragma once

#include <string_view>

#include "runtime/text.h"

namespace zelmora {

// Stop codes of the index guards.
inline constexpr int kIndexBelowOne = 4;
inline constexpr int kIndexPastCount = 1;

// Writes the message and a line break to standard error and ends the process
// at once with `code` as its exit status. Only the index guards and other
// impossible states call it.
[[noreturn]] void StopProgram(int code, std::string_view message);

// Stops the program unless 1 <= index <= count, with the guard's code and message.
void GuardIndex(Position index, Position count);

}  // namespace zelmora
