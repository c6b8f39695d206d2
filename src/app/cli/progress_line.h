#pragma once

// The progress line that a batch shows on a terminal: "[done/total] N failed".

#include <cstddef>
#include <cstdio>

namespace zelmora::cli {

class ProgressLine {
 public:
  // Shows progress only for more than one URL and when `stream` is a terminal.
  ProgressLine(std::FILE* stream, std::size_t total);
  ~ProgressLine();

  void Update(std::size_t done, std::size_t failed);
  // Clears the line, so that a diagnostic starts on a clean line.
  void Clear();

 private:
  std::FILE* stream_;
  std::size_t total_;
  bool shown_ = false;
};

}  // namespace zelmora::cli
