#pragma once

// Prepares the header text of one request and hands every header to the
// request object, between Open and Send.

#include <optional>

#include "http/request_object.h"
#include "runtime/text.h"

namespace zelmora {

// What header preparation reads besides the header text.
struct HeaderSettings {
  int methodIndex = 0;          // already brought into range
  Text url;                     // the default Referer
  bool completeHeaders = true;  // add the missing default lines
  bool normalizeNames = true;   // capitalise the header names
  Text proxyAddress;            // empty: no proxy, so no credentials
  Text proxyUser;               // empty: no credentials
  Text proxyPassword;
  std::optional<int> proxyAuthMode;  // not given: 1, Basic credentials
  Text* sentCookies = nullptr;       // in/out; null: no Cookie header
};

// Completes and normalises `headers` (the caller's variable, rewritten at
// each step) as the settings ask, then submits to `object`, in this order:
// the proxy credentials, the Cookie header, the header lines. Failures of
// the object are ignored.
void PrepareRequestHeaders(const AutomationObject& object, Text& headers,
                           const HeaderSettings& settings);

// "Proxy-Authorization: Basic ..." of user:password when there is a proxy
// and a user and the mode (not given: 1) is 1; nothing otherwise.
void SubmitProxyCredentials(const AutomationObject& object, const Text& proxyAddress,
                            const Text& proxyUser, const Text& proxyPassword,
                            std::optional<int> proxyAuthMode);

// Removes every "Cookie:" (any letter case) from `sentCookies`, the caller's
// variable, and submits the rest, even when empty, as the Cookie header.
void SubmitCookieHeader(const AutomationObject& object, Text& sentCookies);

// Submits each line of `headers` with its HeaderName and HeaderValue: a text
// without CR LF as one line, even when empty; otherwise every non-empty line
// but "Connection: keep-alive" (exact letter case).
void SubmitHeaderLines(const AutomationObject& object, const Text& headers);

}  // namespace zelmora
