#include "app/cli/progress_line.h"

#include <unistd.h>

namespace zelmora::cli {

ProgressLine::ProgressLine(std::FILE* stream, std::size_t total)
    : stream_(total > 1 && isatty(fileno(stream)) ? stream : nullptr), total_(total) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Update(std::size_t done, std::size_t failed) {
  if (stream_ == nullptr) return;
  std::fprintf(stream_, "\r\033[K[%zu/%zu] %zu failed", done, total_, failed);
  std::fflush(stream_);
  shown_ = true;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  std::fputs("\r\033[K", stream_);
  std::fflush(stream_);
  shown_ = false;
}

}  // namespace zelmora::cli
