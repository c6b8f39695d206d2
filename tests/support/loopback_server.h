#pragma once

// An HTTP/1.1 server on 127.0.0.1 with an ephemeral port, plain or https,
// for tests. Each test's handler says what is sent back, byte for byte, so
// the server can misbehave at will: garbage, silence, resets, huge or
// truncated responses. It records every request it received.

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/connection_server.h"
#include "support/http_wire.h"
#include "support/test_certificate.h"

namespace zelmora::testing {

// What the server does with one request.
struct Reply {
  enum class Then {
    kKeepOpen,   // wait for the next request on the connection
    kClose,      // close the connection
    kReset,      // reset the connection (TCP RST)
    kStaySilent  // send nothing more and keep the connection until the client leaves
  };

  std::string bytes;  // written as they are, before `then`
  Then then = Then::kKeepOpen;

  // "HTTP/1.1 <status>" with `headerLines` (each ending in CR LF), a
  // Content-Length and `body`.
  static Reply Http(int status, std::string_view reason, std::string_view headerLines,
                    std::string_view body);
  static Reply Ok(std::string_view body, std::string_view headerLines = "");
  static Reply Redirect(int status, std::string_view location);
  static Reply Raw(std::string bytes, Then then = Then::kClose);
  static Reply Silence();
};

using Handler = std::function<Reply(const ReceivedRequest&)>;

// Does what a reply says once its bytes are written: keep the connection for
// the next request (true), close it, reset it, or wait silently until the
// client leaves (false: the connection is done).
bool FinishReply(Reply::Then then, int socket, Stream& stream);

class LoopbackServer {
 public:
  // Serves https with `tls` when given, else plain http.
  explicit LoopbackServer(Handler handler, std::optional<TlsIdentity> tls = std::nullopt);
  ~LoopbackServer();

  int port() const { return server_.port(); }
  // "http://127.0.0.1:<port><path>" (https with TLS); `host` replaces the address.
  std::string Url(std::string_view path = "/", std::string_view host = "127.0.0.1") const;
  std::vector<ReceivedRequest> Requests() const;
  // Connections accepted so far.
  int ConnectionCount() const { return server_.connectionCount(); }

 private:
  void Serve(int socket, int number);

  Handler handler_;
  std::optional<TlsIdentity> tls_;
  mutable std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
  ConnectionServer server_;  // last: its threads use the members above
};

}  // namespace zelmora::testing
