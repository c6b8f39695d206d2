// Runs of the workflow against the replica beyond the scenario table: the
// address box's edge cases, the headers every request carries, connection
// reuse, and a click dispatched while the page is searched.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resolve_workflow.h"
#include "http/host_mapping.h"
#include "runtime/events.h"
#include "site/recording_view.h"
#include "site/replica_content.h"
#include "site/replica_site.h"
#include "site/site_test_util.h"

namespace zelmora::testing {
namespace {

class ResolveRunTest : public ::testing::Test {
 protected:
  void SetUp() override { SetHostMappings({site_.Mapping()}); }
  void TearDown() override {
    SetEventPump(nullptr);
    SetHostMappings({});
  }

  ReplicaSite site_;
};

TEST_F(ResolveRunTest, AnEmptyAddressEndsTheRunBeforeAnyRequest) {
  RecordingView view({""});
  Text headers = "left over from an earlier click";

  const ResolveReport report = OnParseClicked(view, headers);

  EXPECT_EQ(report.stage, ResolveStage::kEmptyAddress);
  EXPECT_EQ(headers.str(), kMobileUserAgentLine);
  EXPECT_TRUE(view.writes().empty());
  EXPECT_EQ(site_.ConnectionCount(), 0);
}

// Spaces are not an empty address: request 1 is made with them (and fails,
// as no such address can be reached), completing the headers.
TEST_F(ResolveRunTest, AnAddressOfSpacesIsRequested) {
  RecordingView view({"   "});
  Text headers;

  const ResolveReport report = OnParseClicked(view, headers, {.timeoutSeconds = 2});

  EXPECT_EQ(report.stage, ResolveStage::kNotRedirected);
  EXPECT_EQ(report.address.str(), "   ");
  EXPECT_EQ(report.firstStatus, 0);
  EXPECT_EQ(headers.str(), CompletedHeaders("   "));
  EXPECT_EQ(view.shown(), kEarlierResult);
}

TEST_F(ResolveRunTest, EveryRequestOfAClickSendsTheMobileHeadersWithItsOwnAddressAsReferer) {
  Text headers;
  for (const std::string id : {"111", "222"}) {
    RecordingView view({TrackAddress(id)});
    EXPECT_EQ(OnParseClicked(view, headers).result.str(), MediaAddress(id));
  }

  const std::vector<ReceivedRequest> requests = site_.Requests();
  ASSERT_EQ(requests.size(), 6u);
  for (std::size_t i = 0; i < requests.size(); ++i) {
    SCOPED_TRACE(requests[i].head);
    const ReceivedRequest& request = requests[i];
    EXPECT_EQ(request.Header("User-Agent"), MobileUserAgent());
    EXPECT_EQ(request.CountHeader("User-Agent"), 1);
    EXPECT_EQ(request.Header("Accept"), "*/*");
    EXPECT_EQ(request.Header("Referer"), TrackAddress(i < 3 ? "111" : "222"));
    EXPECT_EQ(request.Header("Accept-Language"), "zh-cn");
  }
}

// The track page is on the desktop host and the page and script on the
// mobile host, so one resolve opens two connections: requests 2 and 3 share one.
TEST_F(ResolveRunTest, RequestsTwoAndThreeShareOneConnection) {
  RecordingView view({kSampleTrackAddress});
  Text headers;

  EXPECT_EQ(OnParseClicked(view, headers).result.str(), MediaAddress(kSampleTrackId));

  const std::vector<ReceivedRequest> requests = site_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(site_.ConnectionCount(), 2);
  EXPECT_NE(requests[0].connection, requests[1].connection);
  EXPECT_EQ(requests[1].connection, requests[2].connection);
}

// A click waiting while the page's script addresses are collected runs a
// whole second resolve inside the first, on the same header variable.
struct NestedClick {
  RecordingView* view = nullptr;
  Text* headers = nullptr;
  int runs = 0;
  ResolveReport report;
};
NestedClick nestedClick;

void RunTheWaitingClickOnce() {
  if (nestedClick.runs++ > 0) return;
  nestedClick.report = OnParseClicked(*nestedClick.view, *nestedClick.headers);
}

TEST_F(ResolveRunTest, ANestedRunFinishesFirstAndLeavesItsRefererForTheOuterScript) {
  const std::string outer = TrackAddress("1001");
  const std::string inner = TrackAddress("2002");
  RecordingView view({outer, inner});  // the user typed another address, then clicked
  Text headers;
  nestedClick = {.view = &view, .headers = &headers};
  SetEventPump(&RunTheWaitingClickOnce);

  const ResolveReport report = OnParseClicked(view, headers);

  EXPECT_EQ(nestedClick.report.result.str(), MediaAddress("2002"));
  EXPECT_EQ(report.result.str(), MediaAddress("1001"));
  EXPECT_EQ(view.writes(), (std::vector{MediaAddress("2002"), MediaAddress("1001")}));
  EXPECT_EQ(headers.str(), CompletedHeaders(inner));

  const std::vector<ReceivedRequest> requests = site_.Requests();
  EXPECT_EQ(HostsAndPaths(requests),
            (std::vector{DesktopRequest("1001"), PageRequest("1001"), DesktopRequest("2002"),
                         PageRequest("2002"), ScriptRequest("2002"), ScriptRequest("1001")}));
  ASSERT_EQ(requests.size(), 6u);
  const std::vector<std::string> referers{outer, outer, inner, inner, inner, inner};
  for (std::size_t i = 0; i < requests.size(); ++i) {
    EXPECT_EQ(requests[i].Header("Referer"), referers[i]) << requests[i].target;
  }
}

}  // namespace
}  // namespace zelmora::testing
