// The workflow's edge cases as one table of replica scenarios, each run
// through the real HTTP client against a fresh replica: what the result box
// shows, what the run reports, the header variable afterwards, and the
// requests the site received.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/resolve_workflow.h"
#include "app/site_constants.h"
#include "http/host_mapping.h"
#include "site/recording_view.h"
#include "site/replica_content.h"
#include "site/replica_site.h"
#include "site/site_test_util.h"

namespace zelmora::testing {
namespace {

struct Row {
  std::string id;  // the track id, which picks the scenario
  ResolveStage stage = ResolveStage::kDone;
  int firstStatus = 302;
  std::string location;
  std::string h5srcur;
  std::string scriptAddress;
  std::optional<std::string> result;  // nothing: the result box keeps its earlier content
  // "<host> <target>" of each request the replica read; nothing: not checked
  // (the client may retry on a fresh connection or follow redirects).
  std::optional<std::vector<std::string>> requests;
  int timeoutSeconds = 5;
};

// A run that ends at the status check: one request, no write.
Row NotRedirected(std::string id, int status, int timeoutSeconds = 5) {
  Row row{.id = id, .stage = ResolveStage::kNotRedirected, .firstStatus = status};
  row.requests = std::vector{DesktopRequest(id)};
  row.timeoutSeconds = timeoutSeconds;
  return row;
}

// A run that writes `result`.
Row Done(std::string id, std::string location, std::string h5srcur, std::string scriptAddress,
         std::string result, std::optional<std::vector<std::string>> requests) {
  return {.id = std::move(id),
          .location = std::move(location),
          .h5srcur = std::move(h5srcur),
          .scriptAddress = std::move(scriptAddress),
          .result = std::move(result),
          .requests = std::move(requests)};
}

// The normal steps, with the page's own h5srcur value and script.
Row Normal(const std::string& id, std::string h5srcur, std::string result) {
  return Done(id, MobilePageAddress(id), std::move(h5srcur), ScriptAddress(id), std::move(result),
              std::vector{DesktopRequest(id), PageRequest(id), ScriptRequest(id)});
}

// No /showmc/ script collected: the Location page is fetched again as the script.
Row PageAsScript(const std::string& id, std::string h5srcur, std::string result) {
  return Done(id, MobilePageAddress(id), std::move(h5srcur), MobilePageAddress(id),
              std::move(result), std::vector{DesktopRequest(id), PageRequest(id), PageRequest(id)});
}

// Request 2 and 3 go to an address that is no HTTP address: nothing is sent.
Row NoUsableLocation(const std::string& id, std::string location) {
  return Done(id, location, "", location, "", std::vector{DesktopRequest(id)});
}

// Code page 936 bytes of the Chinese names that the replica sends in UTF-8.
constexpr char kSongsTrackGbk[] = "\xB8\xE8\xC7\xFA/\xC7\xE7\xCC\xEC.mp3";  // 歌曲/晴天.mp3
constexpr char kMusicGbk[] = "\xD2\xF4\xC0\xD6";                            // 音乐

std::vector<Row> Rows() {
  const auto h5 = [](const std::string& id) { return NormalH5srcur(id); };
  const std::string cl = "content-location-target";
  const std::string badName = "music/bad?name.mp3";  // the invalid byte became "?"
  return {
      // The site's three steps: the script's head followed by the page's h5srcur value.
      Normal(kSampleTrackId, h5(kSampleTrackId), MediaAddress(kSampleTrackId)),
      Normal("chinese-names", kSongsTrackGbk,
             std::string("http://media.zelmora.example/") + kMusicGbk + "/" + kSongsTrackGbk),
      // Only status 302 goes on; a failed exchange is status 0.
      NotRedirected("status-200", 200),
      NotRedirected("status-301", 301),
      NotRedirected("status-307", 307),
      NotRedirected("reset", 0),
      NotRedirected("garbage", 0),
      NotRedirected("silent", 0, 1),
      // The Location line as the first "Location: " in the headers finds it.
      Done("content-location", MobilePageAddress(cl), h5(cl), ScriptAddress(cl), MediaAddress(cl),
           std::vector{DesktopRequest("content-location"), PageRequest(cl), ScriptRequest(cl)}),
      NoUsableLocation("no-location", ""),
      NoUsableLocation("lowercase-location", ""),
      NoUsableLocation("relative-location", "/playmc/relative-location.html"),
      // The page's markers.
      Normal("h5srcur2-first", "music/h5srcur2-first-backup.mp3",
             kMediaPrefix + std::string("music/h5srcur2-first-backup.mp3")),
      Normal("no-h5srcur", "", kMediaPrefix),
      Normal("two-showmc", h5("two-showmc"), MediaAddress("two-showmc")),
      Normal("capital-showmc", h5("capital-showmc"), MediaAddress("capital-showmc")),
      PageAsScript("no-showmc", h5("no-showmc"), kPageHead + h5("no-showmc")),
      PageAsScript("attribute-order", h5("attribute-order"), kPageHead + h5("attribute-order")),
      PageAsScript("no-markers", "", ""),
      // An absolute script address is joined all the same; the joined address
      // reaches no script, so the head is empty.
      Done("absolute-script", MobilePageAddress("absolute-script"), h5("absolute-script"),
           kMobileOrigin + ScriptAddress("absolute-script"), h5("absolute-script"), std::nullopt),
      Normal("few-apostrophes", h5("few-apostrophes"), h5("few-apostrophes")),
      // Hostile pages and servers.
      Normal("huge-page", h5("huge-page"), MediaAddress("huge-page")),
      Normal("invalid-utf8", badName, kMediaPrefix + badName),
      PageAsScript("zero-byte", h5("zero-byte"), kPageHead + h5("zero-byte")),
      PageAsScript("binary-page", "", ""),
      PageAsScript("truncated-page", "", ""),
      Done("page-redirect-loop", MobilePageAddress("page-redirect-loop"), "",
           MobilePageAddress("page-redirect-loop"), "", std::nullopt),
      Done("script-reset", MobilePageAddress("script-reset"), h5("script-reset"),
           ScriptAddress("script-reset"), h5("script-reset"), std::nullopt),
  };
}

class ResolveScenarioTest : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override { SetHostMappings({site_.Mapping()}); }
  void TearDown() override { SetHostMappings({}); }

  ReplicaSite site_;
};

TEST_P(ResolveScenarioTest, ResultReportHeadersAndRequests) {
  const Row& row = GetParam();
  const std::string address = TrackAddress(row.id);
  RecordingView view({address});
  Text headers = "left over from an earlier click";

  const ResolveReport report =
      OnParseClicked(view, headers, {.timeoutSeconds = row.timeoutSeconds});

  EXPECT_EQ(report.stage, row.stage);
  EXPECT_EQ(report.address.str(), address);
  EXPECT_EQ(report.firstStatus, row.firstStatus);
  EXPECT_EQ(report.location.str(), row.location);
  EXPECT_EQ(report.h5srcur.str(), row.h5srcur);
  EXPECT_EQ(report.scriptAddress.str(), row.scriptAddress);
  EXPECT_EQ(view.reads(), 1u);
  if (row.result) {
    EXPECT_EQ(report.result.str(), *row.result);
    EXPECT_EQ(view.writes(), std::vector{*row.result});
  } else {
    EXPECT_TRUE(view.writes().empty());
    EXPECT_EQ(view.shown(), kEarlierResult);
  }
  EXPECT_EQ(headers.str(), CompletedHeaders(address));
  if (row.requests) {
    EXPECT_EQ(HostsAndPaths(site_.Requests()), *row.requests);
  }
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  std::string name = info.param.id;
  for (char& c : name) {
    if (c == '-') c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ResolveScenarioTest, ::testing::ValuesIn(Rows()), RowName);

}  // namespace
}  // namespace zelmora::testing
