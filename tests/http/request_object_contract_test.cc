// What every request-object backend must do, checked against a real server
// on the loopback address through the object that WebRequest creates.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "http/request_object.h"
#include "support/forward_proxy.h"
#include "test_site.h"

namespace zelmora {
namespace {

using ::testing::HasSubstr;
using testing::LoopbackServer;
using ::testing::Not;

struct Outcome {
  bool sent = false;
  std::optional<int> status;
  std::string body;
  std::string headers;
};

class RequestObjectContract : public ::testing::Test {
 protected:
  static AutomationObject NewObject() { return CreateAutomationObject(kRequestObjectProgId); }

  static Outcome Run(const AutomationObject& object, const std::string& method,
                     const std::string& url, const RequestBody& body = Text()) {
    object.Open(Text(method), Text(url), false);
    Outcome outcome;
    outcome.sent = object.Send(body);
    outcome.status = object.Status();
    outcome.body = std::string(AsChars(object.ResponseBody().value_or(ByteSet())));
    outcome.headers = object.GetAllResponseHeaders().value_or(Text()).str();
    return outcome;
  }

  Outcome Get(const std::string& path) { return Run(NewObject(), "GET", server_.Url(path)); }

  LoopbackServer server_{testing::TestSiteReply};
};

TEST_F(RequestObjectContract, SpeaksHttp11AndKeepsTheServersHeaderNameCase) {
  const Outcome outcome = Get("/echo");
  ASSERT_TRUE(outcome.sent);
  EXPECT_EQ(outcome.status, 200);
  EXPECT_EQ(outcome.body, "GET ");
  EXPECT_EQ(server_.Requests().at(0).version, "HTTP/1.1");
  // Header lines only, each ending in CR LF; the status line is not included.
  EXPECT_THAT(outcome.headers, HasSubstr("X-MiXeD-Case: Yes\r\n"));
  EXPECT_THAT(outcome.headers, Not(HasSubstr("HTTP/1.1")));
  EXPECT_TRUE(outcome.headers.ends_with("\r\n"));
  EXPECT_FALSE(outcome.headers.ends_with("\r\n\r\n"));
}

TEST_F(RequestObjectContract, OpensOnlyHttpAndHttpsAddresses) {
  const std::string port = std::to_string(server_.port());
  const std::pair<std::string, bool> cases[] = {
      {"file:///etc/passwd", false},
      {"ftp://127.0.0.1:" + port + "/", false},
      {"gopher://127.0.0.1:" + port + "/", false},
      {"dict://127.0.0.1:" + port + "/", false},
      {"", false},
      {"not an address", false},
      {"127.0.0.1:" + port + "/echo", false},
      {"http://127.0.0.1:" + port + "/a b", false},
      {"http://127.0.0.1:" + port + "/a\x01", false},
      {"http://", false},
      {"HTTP://127.0.0.1:" + port + "/echo", true},
  };
  for (const auto& [url, opens] : cases) {
    const AutomationObject object = NewObject();
    EXPECT_EQ(object.Open("GET", Text(url), false), opens) << url;
    EXPECT_EQ(object.Send(Text()), opens) << url;
    EXPECT_EQ(object.Status().has_value(), opens) << url;
  }
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(RequestObjectContract, FollowsAtMostTenRedirectsAndReportsTheFinalResponse) {
  const Outcome ten = Get("/redirect/10");
  EXPECT_TRUE(ten.sent);
  EXPECT_EQ(ten.status, 200);
  EXPECT_EQ(ten.body, "landed");
  EXPECT_THAT(ten.headers, HasSubstr("X-Final: yes\r\n"));
  EXPECT_THAT(ten.headers, Not(HasSubstr("X-Hop")));
  for (const char* path : {"/redirect/11", "/loop"}) {
    const Outcome failed = Get(path);
    EXPECT_FALSE(failed.sent) << path;
    EXPECT_EQ(failed.status, std::nullopt) << path;
    EXPECT_EQ(failed.body, "") << path;
  }
}

TEST_F(RequestObjectContract, FollowsRedirectsOnlyToHttpAndHttps) {
  const std::string port = std::to_string(server_.port());
  const std::pair<std::string, bool> cases[] = {
      {"/to/file:///etc/passwd", false},
      {"/to/ftp://127.0.0.1:" + port + "/", false},
      {"/to/dict://127.0.0.1:" + port + "/", false},
      {"/to/gopher://127.0.0.1:" + port + "/", false},
      {"/to/http://127.0.0.1:" + port + "/echo", true},
  };
  for (const auto& [path, followed] : cases) {
    const Outcome outcome = Get(path);
    EXPECT_EQ(outcome.sent, followed) << path;
    EXPECT_EQ(outcome.body, followed ? "GET " : "") << path;
  }
}

TEST_F(RequestObjectContract, Option6ZeroHandsTheRedirectItselfToTheCaller) {
  const AutomationObject object = NewObject();
  object.Open("GET", Text(server_.Url("/to/file:///etc/passwd")), false);
  ASSERT_TRUE(object.Option(kOptionEnableRedirects, 0));
  ASSERT_TRUE(object.Send(Text()));
  EXPECT_EQ(object.Status(), 302);
  EXPECT_THAT(object.GetAllResponseHeaders()->str(), HasSubstr("Location: file:///etc/passwd\r\n"));
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(RequestObjectContract, ASilentServerEndsTheRequestAfterTheReceiveTimeout) {
  for (const char* path : {"/silent", "/stall"}) {
    const AutomationObject object = NewObject();
    ASSERT_TRUE(object.SetTimeouts(1000, 1000, 1000, 1000));
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = Run(object, "GET", server_.Url(path));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(outcome.sent) << path;
    EXPECT_EQ(outcome.status, std::nullopt) << path;
    EXPECT_EQ(outcome.body, "") << path;
    EXPECT_LT(waited, std::chrono::seconds(15)) << path;  // bounded: nothing hangs
  }
}

TEST_F(RequestObjectContract, MisbehavingServersMakeTheSendFail) {
  for (const char* path : {"/garbage", "/reset", "/truncated", "/bad-chunks"}) {
    const Outcome outcome = Get(path);
    EXPECT_FALSE(outcome.sent) << path;
    EXPECT_EQ(outcome.status, std::nullopt) << path;
    EXPECT_EQ(outcome.body, "") << path;
    EXPECT_EQ(outcome.headers, "") << path;
  }
  // A 100 KB header line may be refused or delivered, but nothing breaks.
  const Outcome longHeader = Get("/long-header");
  if (longHeader.sent) {
    EXPECT_EQ(longHeader.body, "long");
  }
}

TEST_F(RequestObjectContract, ARepeatedHeaderNameReplacesTheEarlierValue) {
  const AutomationObject object = NewObject();
  object.Open("GET", Text(server_.Url("/echo")), false);
  EXPECT_TRUE(object.SetRequestHeader("X-Once", "first"));
  EXPECT_TRUE(object.SetRequestHeader("x-once", "second"));
  EXPECT_TRUE(object.SetRequestHeader("X-Empty", ""));
  ASSERT_TRUE(object.Send(Text()));
  const testing::ReceivedRequest request = server_.Requests().at(0);
  EXPECT_EQ(request.CountHeader("X-Once"), 1);
  EXPECT_EQ(request.Header("X-Once"), "second");
  EXPECT_EQ(request.Header("X-Empty"), "");
}

TEST_F(RequestObjectContract, RefusesHeadersThatCouldSmuggleALine) {
  const std::pair<const char*, const char*> refused[] = {
      {"", "v"},
      {"X-A\r\nX-Evil", "1"},
      {"X-A", "1\r\nX-Evil: 1"},
      {"X-A", "1\nX-Evil: 1"},
      {"X-A", "1\rX-Evil: 1"},
      {"X A", "1"},
      {"X-A:", "1"},
      {"Content-Length", "0"},  // the backend frames the body itself
      {"Transfer-Encoding", "chunked"},
  };
  const AutomationObject object = NewObject();
  object.Open("POST", Text(server_.Url("/echo")), false);
  for (const auto& [name, value] : refused) {
    EXPECT_FALSE(object.SetRequestHeader(name, value)) << name << ": " << value;
  }
  ASSERT_TRUE(object.Send(Text("body")));
  const testing::ReceivedRequest request = server_.Requests().at(0);
  EXPECT_EQ(request.CountHeader("X-Evil"), 0);
  EXPECT_EQ(request.CountHeader("X-A"), 0);
  EXPECT_EQ(request.body, "body");
}

TEST_F(RequestObjectContract, CallsOutOfOrderFail) {
  const AutomationObject object = NewObject();
  EXPECT_FALSE(object.SetRequestHeader("X-A", "1"));
  EXPECT_FALSE(object.Send(Text()));
  EXPECT_EQ(object.ResponseBody(), std::nullopt);
  EXPECT_EQ(object.GetAllResponseHeaders(), std::nullopt);
  EXPECT_EQ(object.Status(), std::nullopt);
  EXPECT_EQ(object.StatusText(), std::nullopt);
  EXPECT_FALSE(object.Open("GET", Text(server_.Url("/echo")), true));  // only synchronous
  EXPECT_FALSE(object.Option(99, 1));
  EXPECT_FALSE(object.SetTimeouts(-2, 1, 1, 1));
  EXPECT_FALSE(object.SetProxy(2, ""));
  EXPECT_FALSE(object.SetProxy(3, "127.0.0.1:1"));
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(RequestObjectContract, SendsBodiesAndMethodsAsGiven) {
  const ByteSet withZero = {'a', 0, 'b'};
  const std::tuple<const char*, RequestBody, std::string> cases[] = {
      {"POST", withZero, std::string("a\0b", 3)},
      {"POST", Text("x=1"), "x=1"},
      {"PUT", Text(), ""},
      {"DELETE", Text("d"), "d"},
      {"GET", Text(), ""},
  };
  for (const auto& [method, body, expected] : cases) {
    const Outcome outcome = Run(NewObject(), method, server_.Url("/echo"), body);
    EXPECT_EQ(outcome.body, std::string(method) + " " + expected) << method;
  }
  for (const testing::ReceivedRequest& request : server_.Requests()) {
    // No body type or expectation the caller did not ask for.
    EXPECT_EQ(request.CountHeader("Content-Type"), 0) << request.method;
    EXPECT_EQ(request.CountHeader("Expect"), 0) << request.method;
    if (request.method != "GET") {
      EXPECT_TRUE(request.Header("Content-Length")) << request.method;
    }
  }
  const Outcome head = Run(NewObject(), "HEAD", server_.Url("/echo"));
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.body, "");
}

TEST_F(RequestObjectContract, LaterRequestsReuseTheConnection) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get("/echo").status, 200);
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(RequestObjectContract, ThreadsMayMakeRequestsAtOnce) {
  constexpr int kThreads = 4;
  constexpr int kEach = 10;
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      const RequestThreadScope scope;
      for (int i = 0; i < kEach; ++i) {
        if (Get("/bytes/3000").body == std::string(3000, 'b')) ++good;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(good.load(), kThreads * kEach);
  EXPECT_LE(server_.ConnectionCount(), kThreads);
}

TEST_F(RequestObjectContract, ProxyCredentialsGoToTheProxyOnly) {
  testing::ForwardProxy proxy("Basic dTpw");
  const AutomationObject object = NewObject();
  ASSERT_TRUE(object.SetProxy(kProxySettingNamed, Text(proxy.Address())));
  object.Open("GET", Text(server_.Url("/echo")), false);
  object.SetRequestHeader("Proxy-Authorization", "Basic dTpw");
  ASSERT_TRUE(object.Send(Text()));
  EXPECT_EQ(object.Status(), 200);
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].target, server_.Url("/echo"));
  EXPECT_EQ(server_.Requests().at(0).CountHeader("Proxy-Authorization"), 0);
}

}  // namespace
}  // namespace zelmora
