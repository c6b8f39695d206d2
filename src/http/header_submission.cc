#include "http/header_submission.h"

#include "http/request_headers.h"
#include "runtime/bytes.h"
#include "runtime/text_ops.h"
#include "runtime/text_search.h"
#include "text/base64.h"

namespace zelmora {
namespace {

constexpr char kLineBreak[] = "\r\n";
constexpr int kBasicProxyAuth = 1;

bool IsKeepAlive(const Text& name, const Text& value) {
  return TextEquals(name, "Connection") && TextEquals(value, "keep-alive");
}

}  // namespace

void PrepareRequestHeaders(const AutomationObject& object, Text& headers,
                           const HeaderSettings& settings) {
  if (settings.completeHeaders) CompleteHeaders(headers, settings.methodIndex, settings.url);
  if (settings.normalizeNames) headers = NormalizeHeaderNames(headers);
  SubmitProxyCredentials(object, settings.proxyAddress, settings.proxyUser, settings.proxyPassword,
                         settings.proxyAuthMode);
  if (settings.sentCookies != nullptr) SubmitCookieHeader(object, *settings.sentCookies);
  SubmitHeaderLines(object, headers);
}

void SubmitProxyCredentials(const AutomationObject& object, const Text& proxyAddress,
                            const Text& proxyUser, const Text& proxyPassword,
                            std::optional<int> proxyAuthMode) {
  if (proxyAddress.empty() || proxyUser.empty()) return;
  if (proxyAuthMode.value_or(kBasicProxyAuth) != kBasicProxyAuth) return;
  ByteSet credentials = ToBytes(ConcatText({proxyUser, ":", proxyPassword}));
  object.SetRequestHeader("Proxy-Authorization", ConcatText({"Basic ", Base64Encode(credentials)}));
}

void SubmitCookieHeader(const AutomationObject& object, Text& sentCookies) {
  if (!sentCookies.empty() && FindText(sentCookies, "Cookie:", 1, true) != -1) {
    sentCookies = ReplaceText(sentCookies, "Cookie:", "", 1, -1, false);
  }
  object.SetRequestHeader("Cookie", sentCookies);
}

void SubmitHeaderLines(const AutomationObject& object, const Text& headers) {
  if (FindText(headers, kLineBreak) == -1) {
    object.SetRequestHeader(HeaderName(headers), HeaderValue(headers));
    return;
  }
  for (const Text& line : SplitText(headers, kLineBreak)) {
    if (line.empty()) continue;
    const Text name = HeaderName(line);
    const Text value = HeaderValue(line);
    if (!IsKeepAlive(name, value)) object.SetRequestHeader(name, value);
  }
}

}  // namespace zelmora
