// What the libcurl backend adds to the contract: the body cap, certificate
// checks, host mappings, proxies from the environment.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "http/host_mapping.h"
#include "http/request_object_curl.h"
#include "support/forward_proxy.h"
#include "test_site.h"

namespace zelmora {
namespace {

using ::testing::HasSubstr;
using testing::LoopbackServer;
using testing::MakeSelfSignedIdentity;

struct Outcome {
  bool sent = false;
  int status = 0;
  std::string body;
};

Outcome Fetch(const AutomationObject& object, const std::string& url, int ignoredErrors = 0) {
  object.Open("GET", Text(url), false);
  if (ignoredErrors != 0) object.Option(kOptionSslErrorIgnoreFlags, ignoredErrors);
  Outcome outcome;
  outcome.sent = object.Send(Text());
  outcome.status = object.Status().value_or(0);
  outcome.body = std::string(AsChars(object.ResponseBody().value_or(ByteSet())));
  return outcome;
}

TEST(CurlBackend, ABodyOverTheCapEndsTheRequestAsAFailure) {
  LoopbackServer server(testing::TestSiteReply);
  const CurlBackendSettings settings{.maxBodyBytes = 5000};
  const std::pair<const char*, bool> cases[] = {
      {"/bytes/5000", true},
      {"/bytes/5001", false},
      {"/chunked/5000", true},
      {"/chunked/20000", false},
  };
  for (const auto& [path, fits] : cases) {
    const Outcome outcome = Fetch(CreateCurlRequestObject(settings), server.Url(path));
    EXPECT_EQ(outcome.sent, fits) << path;
    EXPECT_EQ(outcome.status, fits ? 200 : 0) << path;
    EXPECT_EQ(outcome.body.size(), fits ? 5000u : 0u) << path;
  }
}

TEST(CurlBackend, TooManyHeaderBytesEndTheRequestAsAFailure) {
  LoopbackServer server(testing::TestSiteReply);
  const Outcome outcome =
      Fetch(CreateCurlRequestObject({.maxHeaderBytes = 50 * 1024}), server.Url("/long-header"));
  EXPECT_FALSE(outcome.sent);
  EXPECT_EQ(outcome.status, 0);
}

class CurlBackendTls : public ::testing::Test {
 protected:
  static const testing::TlsIdentity& ForAddress() {
    static const testing::TlsIdentity identity = MakeSelfSignedIdentity({}, {"127.0.0.1"});
    return identity;
  }
  static const testing::TlsIdentity& ForLocalhost() {
    static const testing::TlsIdentity identity = MakeSelfSignedIdentity({"localhost"}, {});
    return identity;
  }
  static AutomationObject Trusting(const testing::TlsIdentity& identity) {
    return CreateCurlRequestObject({.trustedCertificatesPem = identity.certificatePem});
  }
};

TEST_F(CurlBackendTls, VerifiesCertificatesUnlessOption4IgnoresTheErrors) {
  LoopbackServer server(testing::TestSiteReply, ForAddress());
  const std::string url = server.Url("/echo");
  // Unknown authority: the system does not trust the test certificate.
  EXPECT_FALSE(Fetch(CreateCurlRequestObject(), url).sent);
  EXPECT_FALSE(Fetch(CreateCurlRequestObject(), url, kIgnoreUnknownCertificateAuthority).sent);
  EXPECT_EQ(Fetch(CreateCurlRequestObject(), url, kIgnoreAllCertificateErrors).body, "GET ");
  EXPECT_EQ(Fetch(Trusting(ForAddress()), url).body, "GET ");
  // A connection made without checks is never reused by a request that checks.
  EXPECT_FALSE(Fetch(CreateCurlRequestObject(), url).sent);
  EXPECT_FALSE(Fetch(CreateCurlRequestObject(), url, kIgnoreCertificateNameMismatch).sent);
}

TEST_F(CurlBackendTls, ANameMismatchFailsUnlessIgnored) {
  LoopbackServer server(testing::TestSiteReply, ForLocalhost());
  const std::string url = server.Url("/echo");  // 127.0.0.1, not localhost
  EXPECT_FALSE(Fetch(Trusting(ForLocalhost()), url).sent);
  EXPECT_EQ(Fetch(Trusting(ForLocalhost()), url, kIgnoreCertificateNameMismatch).body, "GET ");
  EXPECT_EQ(Fetch(Trusting(ForLocalhost()), server.Url("/echo", "localhost")).body, "GET ");
}

TEST_F(CurlBackendTls, HttpsThroughAProxyKeepsCredentialsOnTheConnectRequest) {
  LoopbackServer server(testing::TestSiteReply, ForAddress());
  testing::ForwardProxy proxy("Basic dTpw");
  const AutomationObject object = Trusting(ForAddress());
  object.SetProxy(kProxySettingNamed, Text(proxy.Address()));
  object.Open("GET", Text(server.Url("/echo")), false);
  object.SetRequestHeader("Proxy-Authorization", "Basic dTpw");
  object.SetRequestHeader("X-For-Origin", "1");
  ASSERT_TRUE(object.Send(Text()));
  EXPECT_EQ(object.Status(), 200);
  const auto connects = proxy.Requests();
  ASSERT_EQ(connects.size(), 1u);
  EXPECT_EQ(connects[0].method, "CONNECT");
  EXPECT_EQ(connects[0].Header("Proxy-Authorization"), "Basic dTpw");
  EXPECT_EQ(connects[0].CountHeader("X-For-Origin"), 0);
  const auto origin = server.Requests().at(0);
  EXPECT_EQ(origin.CountHeader("Proxy-Authorization"), 0);
  EXPECT_EQ(origin.Header("X-For-Origin"), "1");
}

class CurlBackendHostMapping : public CurlBackendTls {
 protected:
  ~CurlBackendHostMapping() override { SetHostMappings({}); }
};

TEST_F(CurlBackendHostMapping, ConnectsElsewhereButKeepsTheAddressAndTheCertificateName) {
  LoopbackServer plain(testing::TestSiteReply);
  LoopbackServer tls(testing::TestSiteReply, ForLocalhost());
  SetHostMappings({*ParseHostMapping("localhost:1:127.0.0.1:" + std::to_string(plain.port())),
                   *ParseHostMapping("localhost:2:127.0.0.1:" + std::to_string(tls.port()))});
  EXPECT_EQ(Fetch(CreateCurlRequestObject(), "http://localhost:1/echo").body, "GET ");
  EXPECT_EQ(plain.Requests().at(0).Header("Host"), "localhost:1");
  EXPECT_EQ(Fetch(Trusting(ForLocalhost()), "https://localhost:2/echo").body, "GET ");
  EXPECT_EQ(tls.Requests().at(0).Header("Host"), "localhost:2");
}

TEST(CurlBackend, IgnoresProxiesNamedInTheEnvironment) {
  LoopbackServer server(testing::TestSiteReply);
  setenv("http_proxy", "http://127.0.0.1:1", 1);
  setenv("HTTPS_PROXY", "http://127.0.0.1:1", 1);
  const Outcome outcome = Fetch(CreateCurlRequestObject(), server.Url("/echo"));
  unsetenv("http_proxy");
  unsetenv("HTTPS_PROXY");
  EXPECT_EQ(outcome.body, "GET ");
}

TEST(CurlBackend, SendsItsOwnUserAgentUnlessTheCallerNamesOne) {
  LoopbackServer server(testing::TestSiteReply);
  Fetch(CreateCurlRequestObject(), server.Url("/echo"));
  const AutomationObject object = CreateCurlRequestObject();
  object.Open("GET", Text(server.Url("/echo")), false);
  object.SetRequestHeader("User-Agent", "Mine");
  object.Send(Text());
  const auto requests = server.Requests();
  EXPECT_THAT(*requests.at(0).Header("User-Agent"), HasSubstr("WinHttp"));
  EXPECT_EQ(requests.at(1).Header("User-Agent"), "Mine");
  EXPECT_EQ(requests.at(1).CountHeader("User-Agent"), 1);
}

}  // namespace
}  // namespace zelmora
