#include "runtime/stop.h"

#include <cstdio>
#include <cstdlib>

namespace zelmora {

void StopProgram(int code, std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  std::_Exit(code);
}

void GuardIndex(Position index, Position count) {
  if (index < 1) StopProgram(kIndexBelowOne, "数组成员引用下标必须大于等于1");
  if (index > count) StopProgram(kIndexPastCount, "数组成员引用下标超出定义范围");
}

}  // namespace zelmora
