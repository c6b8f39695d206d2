// WebRequest end to end: the real backend against the loopback server.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "http/web_request.h"
#include "support/forward_proxy.h"
#include "test_site.h"
#include "text/text_slicing.h"

namespace zelmora {
namespace {

using ::testing::HasSubstr;
using testing::LoopbackServer;

class WebRequestIntegration : public ::testing::Test {
 protected:
  Text Url(std::string_view path) const { return Text(server_.Url(path)); }

  LoopbackServer server_{testing::TestSiteReply};
};

TEST_F(WebRequestIntegration, SendsEveryMethodOfTheTable) {
  const std::pair<int, const char*> cases[] = {
      {0, "GET"},    {1, "POST"},  {3, "PUT"},     {4, "OPTIONS"},
      {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {42, "GET"},
  };
  for (const auto& [index, method] : cases) {
    int status = 0;
    const ByteSet body = WebRequest(Url("/echo"), {.methodIndex = index, .statusCode = &status});
    EXPECT_EQ(status, 200) << method;
    EXPECT_EQ(AsChars(body), std::string(method) + " ") << method;
  }
  int status = 0;
  EXPECT_TRUE(WebRequest(Url("/echo"), {.methodIndex = 2, .statusCode = &status}).empty());
  EXPECT_EQ(status, 200);
  EXPECT_EQ(server_.Requests().back().method, "HEAD");
}

TEST_F(WebRequestIntegration, SendsPostBytesInsteadOfPostTextWhenThereAreAny) {
  const ByteSet bytes = {'b', 0, 'y'};
  EXPECT_EQ(
      AsChars(WebRequest(Url("/echo"), {.methodIndex = 1, .postText = "text", .postBytes = bytes})),
      std::string("POST b\0y", 8));
  EXPECT_EQ(AsChars(WebRequest(Url("/echo"), {.methodIndex = 1, .postText = "a=1&b=2"})),
            "POST a=1&b=2");
  const testing::ReceivedRequest post = server_.Requests().back();
  EXPECT_EQ(post.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(post.Header("Content-Length"), "7");
}

TEST_F(WebRequestIntegration, CollectsAndMergesReturnedCookies) {
  Text sent = "Cookie: b=9; c=3";
  Text returned;
  WebRequest(Url("/cookies"), {.sentCookies = &sent, .returnedCookies = &returned});
  EXPECT_EQ(server_.Requests().back().Header("Cookie"), "b=9; c=3");
  EXPECT_EQ(returned, Text("a=1; b=2; c=3"));
  EXPECT_EQ(sent, Text("a=1; b=2; c=3"));
  Text alone;
  WebRequest(Url("/cookies"), {.returnedCookies = &alone});
  EXPECT_EQ(alone, Text("a=1; b=2"));
  EXPECT_EQ(server_.Requests().back().CountHeader("Cookie"), 0);
}

TEST_F(WebRequestIntegration, ExtraHeadersComeBackCompletedForTheNextRequest) {
  Text headers = "x-token: 7";
  WebRequest(Url("/echo"), {.extraHeaders = &headers});
  EXPECT_THAT(headers.str(),
              HasSubstr("X-Token: 7\r\nAccept: */*\r\nReferer: " + server_.Url("/echo")));
  WebRequest(Url("/bytes/1"), {.extraHeaders = &headers});
  const auto requests = server_.Requests();
  // The second request sends the first one's Referer, as the text holds it.
  EXPECT_EQ(requests.at(1).Header("Referer"), server_.Url("/echo"));
  EXPECT_EQ(requests.at(1).Header("X-Token"), "7");
  EXPECT_EQ(requests.at(1).Header("Accept-Language"), "zh-cn");
}

TEST_F(WebRequestIntegration, WithRedirectsDisabledTheLocationLineReachesTheCaller) {
  Text headers;
  Text received;
  int status = 0;
  const ByteSet body = WebRequest(Url("/redirect/2"), {.extraHeaders = &headers,
                                                       .returnedHeaders = &received,
                                                       .statusCode = &status,
                                                       .disableRedirects = true});
  EXPECT_EQ(status, 302);
  EXPECT_EQ(TextBetween(received, "Location: ", "\r\n"), Text("/redirect/1"));
  EXPECT_TRUE(body.empty());
  WebRequest(Url("/redirect/2"), {.returnedHeaders = &received, .statusCode = &status});
  EXPECT_EQ(status, 200);
  EXPECT_THAT(received.str(), HasSubstr("X-Final: yes"));
}

TEST_F(WebRequestIntegration, AnEmptyGivenRequestObjectSendsNothing) {
  const AutomationObject empty;
  Text headers;
  int status = 5;
  EXPECT_TRUE(WebRequest(Url("/echo"),
                         {.extraHeaders = &headers, .statusCode = &status, .requestObject = &empty})
                  .empty());
  EXPECT_EQ(status, 0);
  EXPECT_THAT(headers.str(), HasSubstr("Referer: " + server_.Url("/echo")));
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(WebRequestIntegration, SendsBasicCredentialsToTheProxy) {
  testing::ForwardProxy proxy("Basic dXNlcjpwYXNz");
  int status = 0;
  const ByteSet body = WebRequest(Url("/echo"), {.statusCode = &status,
                                                 .proxyAddress = Text(proxy.Address()),
                                                 .proxyUser = "user",
                                                 .proxyPassword = "pass"});
  EXPECT_EQ(status, 200);
  EXPECT_EQ(AsChars(body), "GET ");
  EXPECT_EQ(server_.Requests().at(0).CountHeader("Proxy-Authorization"), 0);
  WebRequest(Url("/echo"), {.statusCode = &status,
                            .proxyAddress = Text(proxy.Address()),
                            .proxyUser = "user",
                            .proxyPassword = "wrong"});
  EXPECT_EQ(status, 407);
}

TEST_F(WebRequestIntegration, FailedExchangesGiveEmptyResultsAndStatusZero) {
  const std::string port = std::to_string(server_.port());
  const std::string cases[] = {
      "",
      "not an address",
      "file:///etc/passwd",
      "ftp://127.0.0.1:" + port + "/",
      "http://127.0.0.1:" + port + "/a b",
      "http://127.0.0.1:" + port + "/\r\nX-Evil: 1",
      server_.Url("/garbage"),
      server_.Url("/reset"),
      server_.Url("/truncated"),
      server_.Url("/bad-chunks"),
      server_.Url("/loop"),
      server_.Url("/to/file:///etc/passwd"),
      "http://127.0.0.1:1/",  // nothing listens there
  };
  for (const std::string& url : cases) {
    Text received = "old";
    Text cookies = "old";
    int status = 99;
    const ByteSet body = WebRequest(
        Text(url),
        {.returnedCookies = &cookies, .returnedHeaders = &received, .statusCode = &status});
    EXPECT_TRUE(body.empty()) << url;
    EXPECT_EQ(status, 0) << url;
    EXPECT_EQ(received, Text()) << url;
    EXPECT_EQ(cookies, Text()) << url;
  }
  for (const testing::ReceivedRequest& request : server_.Requests()) {
    EXPECT_EQ(request.CountHeader("X-Evil"), 0);
  }
}

TEST_F(WebRequestIntegration, ASilentServerGivesStatusZeroAfterTheTimeout) {
  int status = 99;
  Text sent = "s=1";
  Text cookies;
  EXPECT_TRUE(WebRequest(Url("/silent"), {.sentCookies = &sent,
                                          .returnedCookies = &cookies,
                                          .statusCode = &status,
                                          .timeoutSeconds = 1})
                  .empty());
  EXPECT_EQ(status, 0);
  EXPECT_EQ(cookies, Text("s=1"));  // the sent cookies merged with nothing
}

TEST_F(WebRequestIntegration, RequestsToOneHostShareAConnection) {
  for (const char* path : {"/echo", "/bytes/10", "/cookies"}) {
    int status = 0;
    WebRequest(Url(path), {.statusCode = &status});
    EXPECT_EQ(status, 200);
  }
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

}  // namespace
}  // namespace zelmora
