#include "app/cli/run_report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace zelmora::cli {
namespace {

ResolveReport Done(const char* result, const char* location = "http://m/p", int pageStatus = 200,
                   int scriptStatus = 200) {
  ResolveReport report;
  report.stage = ResolveStage::kDone;
  report.firstStatus = 302;
  report.location = location;
  report.pageStatus = pageStatus;
  report.scriptStatus = scriptStatus;
  report.result = result;
  return report;
}

ResolveReport Ended(ResolveStage stage, int firstStatus, const char* firstError = "") {
  ResolveReport report;
  report.stage = stage;
  report.address = "http://www/1";
  report.firstStatus = firstStatus;
  report.firstError = firstError;
  return report;
}

TEST(RunReport, StageAndReason) {
  struct Case {
    ResolveReport report;
    const char* stage;
    const char* reason;  // null: no failure
  };
  const Case cases[] = {
      {Done("http://media/a.mp3"), "done", nullptr},
      {Ended(ResolveStage::kEmptyAddress, 0), "empty-address", "empty address"},
      {Ended(ResolveStage::kNotRedirected, 0), "request-failed",
       "connection failed: no response (http://www/1)"},
      {Ended(ResolveStage::kNotRedirected, 0, "Connection refused"), "request-failed",
       "connection failed: Connection refused (http://www/1)"},
      {Ended(ResolveStage::kNotRedirected, 200), "not-redirected",
       "first response status 200, expected 302"},
      {Ended(ResolveStage::kNotRedirected, 301), "not-redirected", "status 301"},
      {Done("", ""), "done", "redirect without a Location header"},
      {Done("", "http://m/p", 0), "done", "connection failed: no response (http://m/p)"},
      {Done("", "http://m/p", 200, 404), "done", "no media address"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(StageName(c.report), c.stage);
    const std::optional<std::string> reason = FailureReason(c.report);
    if (c.reason == nullptr) {
      EXPECT_FALSE(reason.has_value()) << *reason;
    } else {
      ASSERT_TRUE(reason.has_value()) << c.reason;
      EXPECT_NE(reason->find(c.reason), std::string::npos) << *reason;
    }
  }
}

TEST(RunReport, JsonLineHasEveryKeyAndNullsForStepsNotReached) {
  ResolveReport done = Done("http://media/\xD6\xD0.mp3");  // a Chinese character in code page 936
  done.h5srcur = "\xD6\xD0.mp3";
  done.scriptAddress = "http://m/showmc/1.js";
  const auto json = nlohmann::json::parse(JsonLine("http://www/1", done));
  EXPECT_EQ(json["url"], "http://www/1");
  EXPECT_EQ(json["media"], "http://media/中.mp3");
  EXPECT_EQ(json["status"], 302);
  EXPECT_EQ(json["location"], "http://m/p");
  EXPECT_EQ(json["h5srcur"], "中.mp3");
  EXPECT_EQ(json["script"], "http://m/showmc/1.js");
  EXPECT_EQ(json["stage"], "done");
  EXPECT_TRUE(json["error"].is_null());

  const auto early = nlohmann::json::parse(JsonLine("x", Ended(ResolveStage::kNotRedirected, 200)));
  for (const char* key : {"media", "location", "h5srcur", "script"})
    EXPECT_TRUE(early[key].is_null()) << key;
  EXPECT_EQ(early["status"], 200);
  EXPECT_EQ(early["stage"], "not-redirected");
  EXPECT_FALSE(early["error"].is_null());

  // A URL that is not UTF-8 still gives one valid JSON line.
  EXPECT_TRUE(nlohmann::json::accept(JsonLine("http://a/\xFF", done)));
}

}  // namespace
}  // namespace zelmora::cli
