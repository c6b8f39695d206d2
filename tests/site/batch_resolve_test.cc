// Batches of runs without a window, several at once, against the replica.

#include "app/batch_resolve.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/host_mapping.h"
#include "site/replica_content.h"
#include "site/replica_site.h"

namespace zelmora::testing {
namespace {

TEST(ResolveBatch, HandsOverReportsInInputOrderAndKeepsEachRunsConnections) {
  ReplicaSite site({.delay = std::chrono::milliseconds(5)});
  SetHostMappings({site.Mapping()});
  std::vector<std::string> ids;
  std::vector<Text> addresses;
  for (int i = 0; i < 24; ++i) {
    ids.push_back(i % 6 == 5 ? "status-200" : std::to_string(1000 + i));
    addresses.emplace_back(TrackAddress(ids.back()));
  }
  constexpr int kJobs = 6;

  std::vector<std::size_t> order;
  ResolveBatch(addresses, kJobs, {}, [&](std::size_t index, const ResolveReport& report) {
    order.push_back(index);
    if (ids[index] == "status-200") {
      EXPECT_EQ(report.stage, ResolveStage::kNotRedirected);
      EXPECT_EQ(report.firstStatus, 200);
    } else {
      EXPECT_EQ(report.result.str(), MediaAddress(ids[index])) << ids[index];
    }
  });
  SetHostMappings({});

  std::vector<std::size_t> expected(addresses.size());
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
  EXPECT_EQ(order, expected);
  // Each concurrent run keeps its connections to the two hosts for the next
  // run of its thread: idle connections are not closed and reopened.
  EXPECT_LE(site.ConnectionCount(), 2 * kJobs + 2);
}

TEST(ResolveBatch, AnEmptyBatchCallsNothing) {
  int calls = 0;
  ResolveBatch({}, 4, {}, [&](std::size_t, const ResolveReport&) { ++calls; });
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace zelmora::testing
