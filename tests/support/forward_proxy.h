#pragma once

// A forward HTTP proxy on 127.0.0.1 for tests: it forwards plain requests
// (absolute addresses) and tunnels CONNECT requests, to loopback targets
// only, and records every request it received from clients.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/connection_server.h"
#include "support/http_wire.h"

namespace zelmora::testing {

class ForwardProxy {
 public:
  // With `requiredAuthorization` ("Basic ..."), a request without that
  // Proxy-Authorization value gets 407.
  explicit ForwardProxy(std::optional<std::string> requiredAuthorization = std::nullopt);
  ~ForwardProxy();

  int port() const { return server_.port(); }
  // "127.0.0.1:<port>"
  std::string Address() const;
  // The requests received from clients: CONNECT requests and forwarded ones,
  // as the client sent them.
  std::vector<ReceivedRequest> Requests() const;

 private:
  void Serve(int socket, int number);
  void Tunnel(Stream& client, int clientSocket, const ReceivedRequest& request);
  void Forward(Stream& client, const ReceivedRequest& request);
  int ConnectUpstream(std::string_view hostPort);
  void Relay(int a, int b);

  std::optional<std::string> requiredAuthorization_;
  mutable std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
  ConnectionServer server_;  // last: its threads use the members above
};

}  // namespace zelmora::testing
