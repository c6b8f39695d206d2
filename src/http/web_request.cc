#include "http/web_request.h"

#include <algorithm>
#include <array>

#include "http/header_submission.h"
#include "http/response_collection.h"
#include "http/transport_error.h"

namespace zelmora {
namespace {

constexpr std::array<const char*, 8> kMethods = {"GET",     "POST",   "HEAD",  "PUT",
                                                 "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int kKeepObjectTimeouts = -1;
constexpr int kDefaultTimeoutMs = 15000;
// Larger second counts would overflow the 32-bit millisecond timeout.
constexpr int kMaxTimeoutSeconds = 2147483;

int MethodIndexInRange(int methodIndex) {
  return methodIndex >= 0 && methodIndex < static_cast<int>(kMethods.size()) ? methodIndex : 0;
}

int TimeoutMs(int timeoutSeconds) {
  if (timeoutSeconds < 1) return kDefaultTimeoutMs;
  return std::min(timeoutSeconds, kMaxTimeoutSeconds) * 1000;
}

void SetUpRequest(const AutomationObject& object, const Text& url, int methodIndex,
                  const WebRequestOptions& options) {
  if (options.timeoutSeconds != kKeepObjectTimeouts) {
    const int ms = TimeoutMs(options.timeoutSeconds);
    object.SetTimeouts(ms, ms, ms, ms);
  }
  if (!options.proxyAddress.empty()) object.SetProxy(kProxySettingNamed, options.proxyAddress);
  object.Open(kMethods[static_cast<std::size_t>(methodIndex)], url, false);
  if (options.disableRedirects) object.Option(kOptionEnableRedirects, 0);
  object.Option(kOptionSslErrorIgnoreFlags, kIgnoreAllCertificateErrors);
}

RequestBody BodyOf(const WebRequestOptions& options) {
  if (!options.postBytes.empty()) return options.postBytes;
  return options.postText;
}

}  // namespace

ByteSet WebRequest(const Text& url, const WebRequestOptions& options) {
  const RequestThreadScope thread;
  SetLastTransportError({});
  const int methodIndex = MethodIndexInRange(options.methodIndex);
  AutomationObject object = options.requestObject != nullptr
                                ? *options.requestObject
                                : CreateAutomationObject(kRequestObjectProgId);
  if (options.requestObject == nullptr && object.empty()) return {};

  SetUpRequest(object, url, methodIndex, options);

  Text discardedHeaders;
  Text& headers = options.extraHeaders != nullptr ? *options.extraHeaders : discardedHeaders;
  PrepareRequestHeaders(object, headers,
                        {.methodIndex = methodIndex,
                         .url = url,
                         .completeHeaders = options.completeHeaders.value_or(true),
                         .normalizeNames = options.normalizeNames.value_or(true),
                         .proxyAddress = options.proxyAddress,
                         .proxyUser = options.proxyUser,
                         .proxyPassword = options.proxyPassword,
                         .proxyAuthMode = options.proxyAuthMode,
                         .sentCookies = options.sentCookies});
  object.Send(BodyOf(options));

  Text returnedHeaders;
  int statusCode = 0;
  Text returnedCookies;
  ByteSet body = CollectResponse(
      object,
      {.returnedHeaders = options.returnedHeaders ? options.returnedHeaders : &returnedHeaders,
       .statusCode = options.statusCode ? options.statusCode : &statusCode,
       .returnedCookies = options.returnedCookies ? options.returnedCookies : &returnedCookies,
       .sentCookies = options.sentCookies,
       .autoMergeCookies = options.autoMergeCookies.value_or(true)});
  object.Clear();  // releases the object before the thread is released
  return body;
}

}  // namespace zelmora
