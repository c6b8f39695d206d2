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
  int methodIndex = 0;              // GET POST HEAD PUT OPTIONS DELETE TRACE CONNECT; outside 0..7: GET
  Text postText;                    // body, sent when postBytes is empty
  Text* sentCookies = nullptr;      // in/out; null: no Cookie header and no merge
  Text* returnedCookies = nullptr;  // out: the cookies the response set (merged, see below)
  Text* extraHeaders = nullptr;     // in/out: header lines separated by CR LF, written back
                                    // completed and normalised; null: empty, thrown away
  Text* returnedHeaders = nullptr;  // out: the final response's header lines, each + CR LF
  int* statusCode = nullptr;        // out: the HTTP status, 0 when the exchange failed
  bool disableRedirects = false;    // true: a redirect response itself is the result
  ByteSet postBytes;                // body; sent instead of postText when not empty
  Text proxyAddress;                // "host:port" of an HTTP proxy; empty: no proxy
  int timeoutSeconds = 0;           // each phase's limit; 0 or below: 15, -1: the object's own
  Text proxyUser;                   // with proxyAddress: Basic proxy credentials
  Text proxyPassword;               // may be empty
  std::optional<int> proxyAuthMode;                 // not given: 1, Basic; others send none
  const AutomationObject* requestObject = nullptr;  // not given: a new object is created;
                                                    // given, even empty, it is used as it is
  std::optional<bool> autoMergeCookies;  // not given: true; merge sentCookies into
                                         // returnedCookies when sentCookies is given
  std::optional<bool> completeHeaders;   // not given: true; add missing default lines
  std::optional<bool> normalizeNames;    // not given: true; capitalise header names
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
