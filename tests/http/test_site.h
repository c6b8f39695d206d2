#pragma once

// The routes that the integration tests ask the loopback server for: each
// path makes the server behave in one way, well or badly.

#include <string>

#include "support/loopback_server.h"

namespace zelmora::testing {

// Serves:
//   /echo            200; the body is the method, a space and the request body
//   /cookies         200 with two Set-Cookie lines (a=1, b=2)
//   /redirect/N      a chain of N 302 redirects ending in 200 "landed"
//   /status/N        status N with a Location to /echo
//   /loop            302 to itself
//   /to/<address>    302 to <address>
//   /bytes/N         200 with N bytes; /chunked/N the same in chunks
//   /silent          nothing at all
//   /stall           headers and part of the body, then nothing
//   /garbage         a line that is no status line
//   /reset           a connection reset
//   /long-header     200 with a 100 KB header line
//   /truncated       a body shorter than its Content-Length
//   /bad-chunks      a chunked body with a malformed chunk size
Reply TestSiteReply(const ReceivedRequest& request);

}  // namespace zelmora::testing
