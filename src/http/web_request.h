#pragma once

// WebRequest: one synchronous HTTP request through a request object.

#include <optional>

#include "http/request_object.h"
#include "runtime/text.h"

namespace zelmora {

// The optional parameters of WebRequest. A pointer refers to the caller's
// variable, which WebRequest reads (in), writes (out) or both; an output left
// null is computed all the same and thrown away.
struct WebRequestOptions {
  // GET POST HEAD PUT OPTIONS DELETE TRACE CONNECT; outside 0..7: GET.
  int methodIndex = 0;
  // Body, sent when postBytes is empty.
  Text postText;
  // In/out: cookies to send; rewritten without "Cookie:" and, when merged,
  // to the merged cookies. Null: no Cookie header and no merge.
  Text* sentCookies = nullptr;
  // Out: the cookies the response set, merged with sentCookies (see
  // autoMergeCookies).
  Text* returnedCookies = nullptr;
  // In/out: header lines separated by CR LF, written back completed and
  // normalised. Null: empty, and the completed text is thrown away.
  Text* extraHeaders = nullptr;
  // Out: the final response's header lines, each followed by CR LF, without
  // the status line.
  Text* returnedHeaders = nullptr;
  // Out: the HTTP status; 0 when the exchange failed.
  int* statusCode = nullptr;
  // True: a redirect is not followed; its own status and Location line come back.
  bool disableRedirects = false;
  // Body; sent instead of postText when it holds at least one byte.
  ByteSet postBytes;
  // "host:port" of an HTTP proxy; empty: no proxy.
  Text proxyAddress;
  // Limit of each phase in seconds; 0 or below: 15; -1: the object's own.
  int timeoutSeconds = 0;
  // With proxyAddress: the user of Basic proxy credentials; empty: none.
  Text proxyUser;
  // May be empty.
  Text proxyPassword;
  // Not given: 1, Basic credentials; any other mode sends none.
  std::optional<int> proxyAuthMode;
  // Not given: a new object is created for the request. Given, the request
  // runs on it as it is, even when the holder is empty (then every call
  // fails); the caller's reference stays.
  const AutomationObject* requestObject = nullptr;
  // Not given: true. Merge sentCookies into returnedCookies when sentCookies
  // is given.
  std::optional<bool> autoMergeCookies;
  // Not given: true. Add the missing default header lines.
  std::optional<bool> completeHeaders;
  // Not given: true. Capitalise the words of header names.
  std::optional<bool> normalizeNames;
};

// Sends one request to `url` and returns the response body; the empty byte
// set when no body arrived. Never throws and reports nothing: a failed
// exchange gives an empty body, empty returned headers and cookies (before
// the merge) and status 0. When no request object can be created, nothing
// is sent and no output or in/out variable is written.
//
// Threads: blocks the calling thread for the whole exchange. Several threads
// may call it at once with their own variables and request objects.
ByteSet WebRequest(const Text& url, const WebRequestOptions& options = {});

}  // namespace zelmora
