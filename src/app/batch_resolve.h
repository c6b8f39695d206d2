#pragma once

// Resolving many addresses without a window, several at a time.

#include <cstddef>
#include <functional>
#include <vector>

#include "app/resolve_workflow.h"

namespace zelmora {

// A view for a run without a window: its address box holds a fixed address
// and its result box keeps what the run wrote.
class FixedAddressView : public ResolveView {
 public:
  explicit FixedAddressView(Text address) : address_(std::move(address)) {}
  Text ReadAddress() override { return address_; }
  void WriteResult(const Text& result) override { written_ = result; }
  const Text& written() const { return written_; }

 private:
  Text address_;
  Text written_;
};

// Runs the workflow once per address, each run with its own header variable,
// on up to `jobs` threads at once (at least one). Calls `onResolved` with
// each address's index and report in input order, on the calling thread, as
// soon as the runs before it have been handed over; returns when all have.
void ResolveBatch(const std::vector<Text>& addresses, int jobs, const ResolveSettings& settings,
                  const std::function<void(std::size_t, const ResolveReport&)>& onResolved);

}  // namespace zelmora
