#include "http/header_submission.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_request_object.h"

namespace zelmora {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeRequestObject;

class HeaderSubmission : public ::testing::Test {
 protected:
  std::vector<std::string> Submit(Text& headers, const HeaderSettings& settings) {
    PrepareRequestHeaders(object_, headers, settings);
    return fake_->calls;
  }

  std::shared_ptr<FakeRequestObject> fake_ = std::make_shared<FakeRequestObject>();
  AutomationObject object_{fake_};
};

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST_F(HeaderSubmission, KeepsACallersUserAgentAndNormalisesItsName) {
  Text headers = "user-agent: Mine";
  EXPECT_THAT(Submit(headers, {.url = "http://h/"}),
              ElementsAre("Header(User-Agent|Mine)", "Header(Accept|*/*)",
                          "Header(Referer|http://h/)", "Header(Accept-Language|zh-cn)"));
  EXPECT_EQ(headers, Text("User-Agent: Mine\r\nAccept: */*\r\nReferer: http://h/\r\n"
                          "Accept-Language: zh-cn"));
}

TEST_F(HeaderSubmission, WithBothSwitchesOffAnEmptyTextSubmitsOneEmptyHeader) {
  Text headers;
  EXPECT_THAT(Submit(headers, {.completeHeaders = false, .normalizeNames = false}),
              ElementsAre("Header(|)"));
}

TEST_F(HeaderSubmission, CompletedTextWithoutNormalisingSkipsItsEmptyFirstLine) {
  Text headers;
  EXPECT_THAT(
      Submit(headers, {.url = "u", .normalizeNames = false}),
      ElementsAre("Header(Accept|*/*)", "Header(Referer|u)", "Header(Accept-Language|zh-cn)",
                  std::string("Header(User-Agent|") + kAgent + ")"));
  EXPECT_TRUE(headers.view().starts_with("\r\nAccept: */*"));
}

struct KeepAliveCase {
  const char* headers;
  bool normalizeNames;
  std::vector<std::string> expected;
};

TEST_F(HeaderSubmission, DropsOnlyAnExactKeepAliveLineAmongSeveral) {
  const KeepAliveCase cases[] = {
      {"connection: keep-alive\r\nX: 1", true, {"Header(X|1)"}},
      {"Connection: Keep-Alive\r\nX: 1", true, {"Header(Connection|Keep-Alive)", "Header(X|1)"}},
      {"connection: keep-alive\r\nX: 1", false, {"Header(connection|keep-alive)", "Header(X|1)"}},
      // A single line is submitted whatever it says.
      {"Connection: keep-alive", true, {"Header(Connection|keep-alive)"}},
      {"Connection: keep-alive", false, {"Header(Connection|keep-alive)"}},
  };
  for (const KeepAliveCase& c : cases) {
    fake_->calls.clear();
    Text headers = c.headers;
    EXPECT_THAT(Submit(headers, {.completeHeaders = false, .normalizeNames = c.normalizeNames}),
                ElementsAreArray(c.expected))
        << c.headers << " normalize=" << c.normalizeNames;
  }
}

struct CredentialsCase {
  const char* proxyAddress;
  const char* proxyUser;
  const char* proxyPassword;
  std::optional<int> mode;
  std::vector<std::string> expected;
};

TEST_F(HeaderSubmission, SendsBasicProxyCredentialsOnlyWithAProxyAUserAndMode1) {
  const CredentialsCase cases[] = {
      {"p:8080", "user", "pass", std::nullopt, {"Header(Proxy-Authorization|Basic dXNlcjpwYXNz)"}},
      {"p:8080", "user", "pass", 1, {"Header(Proxy-Authorization|Basic dXNlcjpwYXNz)"}},
      {"p:8080", "user", "", std::nullopt, {"Header(Proxy-Authorization|Basic dXNlcjo=)"}},
      {"", "user", "pass", std::nullopt, {}},
      {"p:8080", "", "pass", std::nullopt, {}},
      {"p:8080", "user", "pass", 0, {}},
      {"p:8080", "user", "pass", 2, {}},
  };
  for (const CredentialsCase& c : cases) {
    fake_->calls.clear();
    Text headers = "X: 1";
    PrepareRequestHeaders(object_, headers,
                          {.completeHeaders = false,
                           .proxyAddress = c.proxyAddress,
                           .proxyUser = c.proxyUser,
                           .proxyPassword = c.proxyPassword,
                           .proxyAuthMode = c.mode});
    std::vector<std::string> expected = c.expected;
    expected.push_back("Header(X|1)");
    EXPECT_THAT(fake_->calls, ElementsAreArray(expected)) << c.proxyAddress << "/" << c.proxyUser;
  }
}

struct CookieCase {
  const char* sent;
  const char* submitted;
  const char* rewritten;
};

TEST_F(HeaderSubmission, CookieHeaderLosesEveryCookiePrefixButNoSpace) {
  const CookieCase cases[] = {
      {"Cookie: a=1", " a=1", " a=1"},
      {"cookie:a=1; COOKIE:b=2", "a=1; b=2", "a=1; b=2"},
      {"a=1;b=2", "a=1;b=2", "a=1;b=2"},
      {"", "", ""},  // a given empty text still sends the header
  };
  for (const CookieCase& c : cases) {
    fake_->calls.clear();
    Text headers = "X: 1";
    Text sent = c.sent;
    Submit(headers, {.completeHeaders = false, .sentCookies = &sent});
    EXPECT_THAT(fake_->calls,
                ElementsAre(std::string("Header(Cookie|") + c.submitted + ")", "Header(X|1)"));
    EXPECT_EQ(sent, Text(c.rewritten));
  }
}

TEST_F(HeaderSubmission, SubmitsCredentialsThenCookieThenLines) {
  Text headers = "b: 2\r\na: 1";
  Text sent = "s=1";
  EXPECT_THAT(Submit(headers, {.completeHeaders = false,
                               .proxyAddress = "p:1",
                               .proxyUser = "u",
                               .sentCookies = &sent}),
              ElementsAre("Header(Proxy-Authorization|Basic dTo=)", "Header(Cookie|s=1)",
                          "Header(B|2)", "Header(A|1)"));
}

TEST_F(HeaderSubmission, WithoutSentCookiesNoCookieHeaderIsSubmitted) {
  Text headers = "X: 1";
  EXPECT_THAT(Submit(headers, {.completeHeaders = false}), ElementsAre("Header(X|1)"));
}

TEST_F(HeaderSubmission, AHeaderWithAnEmptyNameIsStillHandedOn) {
  Text headers = ": v\r\nX: 1";
  EXPECT_THAT(Submit(headers, {.completeHeaders = false}),
              ElementsAre("Header(|v)", "Header(X|1)"));
}

}  // namespace
}  // namespace zelmora
