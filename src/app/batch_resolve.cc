#include "app/batch_resolve.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace zelmora {
namespace {

ResolveReport ResolveOne(const Text& address, const ResolveSettings& settings) {
  FixedAddressView view(address);
  Text headers;
  return OnParseClicked(view, headers, settings);
}

}  // namespace

void ResolveBatch(const std::vector<Text>& addresses, int jobs, const ResolveSettings& settings,
                  const std::function<void(std::size_t, const ResolveReport&)>& onResolved) {
  std::vector<std::optional<ResolveReport>> reports(addresses.size());
  std::atomic<std::size_t> nextToStart{0};
  std::mutex mutex;
  std::condition_variable finished;

  auto work = [&] {
    for (std::size_t i; (i = nextToStart.fetch_add(1)) < addresses.size();) {
      ResolveReport report = ResolveOne(addresses[i], settings);
      const std::lock_guard lock(mutex);
      reports[i] = std::move(report);
      finished.notify_one();
    }
  };
  const std::size_t threadCount =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), addresses.size());
  std::vector<std::jthread> workers;
  workers.reserve(threadCount);
  for (std::size_t t = 0; t < threadCount; ++t) workers.emplace_back(work);

  for (std::size_t next = 0; next < addresses.size(); ++next) {
    ResolveReport report;
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return reports[next].has_value(); });
      report = std::move(*reports[next]);
      reports[next].reset();
    }
    onResolved(next, report);
  }
}

}  // namespace zelmora
