#include "http/web_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_request_object.h"

namespace zelmora {
namespace {

using testing::CallsStartingWith;
using ::testing::ElementsAre;
using testing::FakeRequestObject;
using ::testing::IsEmpty;

// Swaps the table of backends for one fake backend for the test's duration;
// what the fake backend does is set per test through these globals.
std::vector<std::string>* gEvents = nullptr;
std::unique_ptr<FakeRequestObject>* gNextObject = nullptr;

std::unique_ptr<RequestObject> CreateFake() {
  if (gNextObject == nullptr) return nullptr;
  return std::move(*gNextObject);
}

const RequestObjectBackend kFakeBackend{kRequestObjectProgId, &CreateFake,
                                        [] { gEvents->push_back("prepare thread"); },
                                        [] { gEvents->push_back("release thread"); }};

class WebRequestTest : public ::testing::Test {
 protected:
  WebRequestTest() : saved_(ReplaceRequestObjectBackends({&kFakeBackend})) {
    gEvents = &events_;
    gNextObject = &next_;
  }
  ~WebRequestTest() override {
    ReplaceRequestObjectBackends(saved_);
    gEvents = nullptr;
    gNextObject = nullptr;
  }

  // Runs WebRequest on a given object and returns its calls.
  std::vector<std::string> CallsFor(const WebRequestOptions& options) {
    auto fake = std::make_shared<FakeRequestObject>();
    AutomationObject holder(fake);
    WebRequestOptions given = options;
    given.requestObject = &holder;
    WebRequest("http://h/", given);
    return fake->calls;
  }

  std::vector<const RequestObjectBackend*> saved_;
  std::vector<std::string> events_;
  std::unique_ptr<FakeRequestObject> next_;
};

constexpr char kAgentHeader[] =
    "Header(User-Agent|Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1))";

TEST_F(WebRequestTest, AllOptionsLeftOutMakeADefaultGetOnANewObject) {
  next_ = std::make_unique<FakeRequestObject>();
  next_->onDestroy = [&] { events_.push_back("object released"); };
  const ByteSet body = WebRequest("http://h/");
  EXPECT_EQ(AsChars(body), "body");
  EXPECT_THAT(events_, ElementsAre("prepare thread", "object released", "release thread"));
}

TEST_F(WebRequestTest, DefaultCallSequence) {
  EXPECT_THAT(CallsFor({}),
              ElementsAre("SetTimeouts(15000,15000,15000,15000)", "Open(GET,http://h/,false)",
                          "Option(4,13056)", "Header(Accept|*/*)", "Header(Referer|http://h/)",
                          "Header(Accept-Language|zh-cn)", kAgentHeader, "Send(text:)",
                          "ResponseBody", "GetAllResponseHeaders", "Status", "StatusText"));
}

TEST_F(WebRequestTest, MethodIndexOutsideTheTableMeansGet) {
  const std::pair<int, const char*> cases[] = {
      {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"}, {4, "OPTIONS"},
      {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}, {-1, "GET"},
  };
  for (const auto& [index, method] : cases) {
    const std::vector<std::string> calls = CallsFor({.methodIndex = index});
    EXPECT_THAT(CallsStartingWith(calls, "Open("),
                ElementsAre(std::string("Open(") + method + ",http://h/,false)"));
    const auto types = CallsStartingWith(calls, "Header(Content-Type");
    EXPECT_EQ(types.size(), index == 1 ? 1u : 0u) << index;
  }
}

TEST_F(WebRequestTest, TimeoutSecondsBecomeMilliseconds) {
  const std::pair<int, std::vector<std::string>> cases[] = {
      {-1, {}},
      {0, {"SetTimeouts(15000,15000,15000,15000)"}},
      {-5, {"SetTimeouts(15000,15000,15000,15000)"}},
      {30, {"SetTimeouts(30000,30000,30000,30000)"}},
      {2147483647, {"SetTimeouts(2147483000,2147483000,2147483000,2147483000)"}},
  };
  for (const auto& [seconds, expected] : cases) {
    EXPECT_EQ(CallsStartingWith(CallsFor({.timeoutSeconds = seconds}), "SetTimeouts"), expected)
        << seconds;
  }
}

TEST_F(WebRequestTest, ProxyAndRedirectSwitchComeAroundOpen) {
  Text headers = "X: 1";
  EXPECT_THAT(
      CallsFor({.extraHeaders = &headers,
                .disableRedirects = true,
                .proxyAddress = "127.0.0.1:3128",
                .timeoutSeconds = -1,
                .proxyUser = "u",
                .proxyPassword = "p",
                .completeHeaders = false}),
      ElementsAre("SetProxy(2,127.0.0.1:3128)", "Open(GET,http://h/,false)", "Option(6,0)",
                  "Option(4,13056)", "Header(Proxy-Authorization|Basic dTpw)", "Header(X|1)",
                  "Send(text:)", "ResponseBody", "GetAllResponseHeaders", "Status", "StatusText"));
}

TEST_F(WebRequestTest, BytesBodyWinsWhenItHoldsAByte) {
  EXPECT_THAT(CallsStartingWith(CallsFor({.postText = "text", .postBytes = {0x41}}), "Send"),
              ElementsAre("Send(bytes:A)"));
  EXPECT_THAT(CallsStartingWith(CallsFor({.postText = "text", .postBytes = {}}), "Send"),
              ElementsAre("Send(text:text)"));
}

TEST_F(WebRequestTest, AnEmptyGivenObjectFailsEveryCallButHeadersAreStillCompleted) {
  AutomationObject empty;
  Text headers;
  Text returned = "old";
  int status = 77;
  const ByteSet body = WebRequest(
      "http://h/", {.returnedHeaders = &returned, .statusCode = &status, .requestObject = &empty});
  EXPECT_TRUE(body.empty());
  EXPECT_EQ(status, 0);
  EXPECT_EQ(returned, Text());
  WebRequest("http://h/", {.extraHeaders = &headers, .requestObject = &empty});
  EXPECT_TRUE(headers.view().starts_with("Accept: */*\r\nReferer: http://h/"));
  EXPECT_THAT(events_,
              ElementsAre("prepare thread", "release thread", "prepare thread", "release thread"));
}

TEST_F(WebRequestTest, AGivenObjectKeepsTheCallersReference) {
  auto fake = std::make_shared<FakeRequestObject>();
  AutomationObject holder(fake);
  WebRequest("http://h/", {.requestObject = &holder});
  EXPECT_FALSE(holder.empty());
  EXPECT_EQ(fake.use_count(), 2);
}

TEST_F(WebRequestTest, CreationFailureWritesNothingAndBalancesThePreparation) {
  next_ = nullptr;  // the backend cannot make an object
  Text headers = "X: 1";
  Text sent = "Cookie: a=1";
  Text returned = "r";
  Text cookies = "c";
  int status = 77;
  const ByteSet body = WebRequest("http://h/", {.sentCookies = &sent,
                                                .returnedCookies = &cookies,
                                                .extraHeaders = &headers,
                                                .returnedHeaders = &returned,
                                                .statusCode = &status});
  EXPECT_TRUE(body.empty());
  EXPECT_EQ(headers, Text("X: 1"));
  EXPECT_EQ(sent, Text("Cookie: a=1"));
  EXPECT_EQ(returned, Text("r"));
  EXPECT_EQ(cookies, Text("c"));
  EXPECT_EQ(status, 77);
  EXPECT_THAT(events_, ElementsAre("prepare thread", "release thread"));
}

TEST_F(WebRequestTest, NoBackendForTheProgIdIsACreationFailure) {
  ReplaceRequestObjectBackends({});
  int status = 77;
  EXPECT_TRUE(WebRequest("http://h/", {.statusCode = &status}).empty());
  EXPECT_EQ(status, 77);
  EXPECT_THAT(events_, IsEmpty());
}

TEST_F(WebRequestTest, CookiesAreSentMergedAndWrittenBack) {
  auto fake = std::make_shared<FakeRequestObject>();
  fake->headers = Text("Set-Cookie: b=9; path=/\r\nSet-Cookie: c=3\r\n");
  AutomationObject holder(fake);
  Text sent = "Cookie: a=1; b=2";
  Text cookies;
  WebRequest("http://h/",
             {.sentCookies = &sent, .returnedCookies = &cookies, .requestObject = &holder});
  EXPECT_THAT(CallsStartingWith(fake->calls, "Header(Cookie"),
              ElementsAre("Header(Cookie| a=1; b=2)"));
  EXPECT_EQ(cookies, Text("b=9; c=3; a=1"));
  EXPECT_EQ(sent, Text("b=9; c=3; a=1"));
  // Without merging the returned cookies stand alone.
  WebRequest("http://h/", {.sentCookies = &sent,
                           .returnedCookies = &cookies,
                           .requestObject = &holder,
                           .autoMergeCookies = false});
  EXPECT_EQ(cookies, Text("b=9; c=3"));
}

TEST_F(WebRequestTest, ExtraHeadersAreWrittenBackCompletedAndNormalised) {
  Text headers = "x-token: 1";
  CallsFor({.methodIndex = 1, .extraHeaders = &headers});
  EXPECT_EQ(headers, Text("X-Token: 1\r\nAccept: */*\r\nReferer: http://h/\r\nAccept-Language: "
                          "zh-cn\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT "
                          "6.1)\r\nContent-Type: application/x-www-form-urlencoded"));
}

}  // namespace
}  // namespace zelmora
