#pragma once

// A stand-in for the window in the workflow's tests: its address box shows
// the given addresses one read after another (the last one stays), and its
// result box records every write.

#include <algorithm>
#include <string>
#include <vector>

#include "app/resolve_workflow.h"

namespace zelmora::testing {

inline constexpr char kEarlierResult[] = "earlier result";

class RecordingView : public ResolveView {
 public:
  explicit RecordingView(std::vector<std::string> addresses) : addresses_(std::move(addresses)) {}

  Text ReadAddress() override {
    const std::size_t index = std::min(reads_++, addresses_.size() - 1);
    return Text(addresses_[index]);
  }
  void WriteResult(const Text& result) override {
    writes_.push_back(result.str());
    shown_ = result.str();
  }

  std::size_t reads() const { return reads_; }
  // Every result written, in order.
  const std::vector<std::string>& writes() const { return writes_; }
  // What the result box shows: kEarlierResult until the first write.
  const std::string& shown() const { return shown_; }

 private:
  std::vector<std::string> addresses_;
  std::size_t reads_ = 0;
  std::vector<std::string> writes_;
  std::string shown_ = kEarlierResult;
};

}  // namespace zelmora::testing
