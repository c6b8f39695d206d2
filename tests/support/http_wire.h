#pragma once

// Reading HTTP/1.1 requests off a stream, for the test server and proxy.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/stream.h"

namespace zelmora::testing {

struct ReceivedRequest {
  std::string method;
  std::string target;  // as sent: a path, an absolute address or host:port
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;  // in order, as sent
  std::string body;
  std::string head;    // the raw request line and header lines
  int connection = 0;  // number of the connection that carried it

  // The value of the first header named `name` (any letter case).
  std::optional<std::string> Header(std::string_view name) const;
  // How many headers are named `name` (any letter case).
  int CountHeader(std::string_view name) const;
};

// Reads requests one after another from a stream, keeping bytes that
// arrive early for the next request.
class RequestReader {
 public:
  explicit RequestReader(Stream& stream) : stream_(stream) {}

  // The next request; nothing at the end of the stream or on a malformed
  // request. A body is read by its Content-Length.
  std::optional<ReceivedRequest> Next();

 private:
  bool Fill();

  Stream& stream_;
  std::string buffer_;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zelmora::testing
