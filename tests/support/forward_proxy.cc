#include "support/forward_proxy.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>

namespace zelmora::testing {
namespace {

constexpr char kEstablished[] = "HTTP/1.1 200 Connection established\r\n\r\n";
constexpr char kAuthenticationRequired[] =
    "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic "
    "realm=\"test\"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
constexpr char kBadGateway[] =
    "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";

// The port of "127.0.0.1:<port>" or "localhost:<port>"; 0 for any other
// host, since tests must never reach beyond the loopback address.
int LoopbackPort(std::string_view hostPort) {
  const std::size_t colon = hostPort.rfind(':');
  if (colon == std::string_view::npos) return 0;
  const std::string_view host = hostPort.substr(0, colon);
  if (host != "127.0.0.1" && host != "localhost") return 0;
  int port = 0;
  std::from_chars(hostPort.data() + colon + 1, hostPort.data() + hostPort.size(), port);
  return port;
}

// The request in origin form for the upstream server: the path instead of
// the absolute address, without the proxy's own headers, closing after.
std::string UpstreamRequest(const ReceivedRequest& request, std::string_view path) {
  std::string out = request.method + " " + std::string(path) + " " + request.version + "\r\n";
  for (const auto& [name, value] : request.headers) {
    if (EqualsIgnoringCase(name, "Proxy-Authorization") ||
        EqualsIgnoringCase(name, "Proxy-Connection") || EqualsIgnoringCase(name, "Connection")) {
      continue;
    }
    out += name + ": " + value + "\r\n";
  }
  return out + "Connection: close\r\n\r\n" + request.body;
}

}  // namespace

ForwardProxy::ForwardProxy(std::optional<std::string> requiredAuthorization)
    : requiredAuthorization_(std::move(requiredAuthorization)),
      server_([this](int socket, int number) { Serve(socket, number); }) {}

ForwardProxy::~ForwardProxy() { server_.Stop(); }

std::string ForwardProxy::Address() const { return "127.0.0.1:" + std::to_string(port()); }

std::vector<ReceivedRequest> ForwardProxy::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ForwardProxy::Serve(int socket, int number) {
  const std::unique_ptr<Stream> client = PlainStream(socket);
  RequestReader reader(*client);
  std::optional<ReceivedRequest> request = reader.Next();
  if (!request) return;
  request->connection = number;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(*request);
  }
  if (requiredAuthorization_ && request->Header("Proxy-Authorization") != requiredAuthorization_) {
    client->Write(kAuthenticationRequired);
  } else if (request->method == "CONNECT") {
    Tunnel(*client, socket, *request);
  } else {
    Forward(*client, *request);
  }
}

int ForwardProxy::ConnectUpstream(std::string_view hostPort) {
  const int port = LoopbackPort(hostPort);
  const int upstream = port > 0 ? ConnectLoopback(port) : -1;
  if (upstream >= 0) server_.Track(upstream);
  return upstream;
}

void ForwardProxy::Tunnel(Stream& client, int clientSocket, const ReceivedRequest& request) {
  const int upstream = ConnectUpstream(request.target);
  if (upstream < 0) {
    client.Write(kBadGateway);
    return;
  }
  if (client.Write(kEstablished)) Relay(clientSocket, upstream);
  server_.Untrack(upstream);
  close(upstream);
}

void ForwardProxy::Forward(Stream& client, const ReceivedRequest& request) {
  // "http://host:port/path"
  const std::string_view target = request.target;
  const std::size_t authorityStart = target.find("://");
  const std::size_t pathStart = authorityStart == std::string_view::npos
                                    ? authorityStart
                                    : target.find('/', authorityStart + 3);
  const int upstream =
      authorityStart == std::string_view::npos
          ? -1
          : ConnectUpstream(target.substr(authorityStart + 3, pathStart - authorityStart - 3));
  if (upstream < 0) {
    client.Write(kBadGateway);
    return;
  }
  const std::unique_ptr<Stream> origin = PlainStream(upstream);
  if (origin->Write(UpstreamRequest(
          request, pathStart == std::string_view::npos ? "/" : target.substr(pathStart)))) {
    char buffer[16384];
    while (const std::size_t got = origin->Read(buffer, sizeof buffer)) {
      if (!client.Write(std::string_view(buffer, got))) break;
    }
  }
  server_.Untrack(upstream);
  close(upstream);
}

// Copies bytes both ways until either side closes or the proxy stops.
void ForwardProxy::Relay(int a, int b) {
  pollfd sockets[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
  char buffer[16384];
  while (!server_.stopping()) {
    if (poll(sockets, 2, 100) < 0) return;
    for (int i = 0; i < 2; ++i) {
      if (sockets[i].revents == 0) continue;
      const ssize_t got = recv(sockets[i].fd, buffer, sizeof buffer, 0);
      if (got <= 0) return;
      if (!PlainStream(sockets[1 - i].fd)
               ->Write(std::string_view(buffer, static_cast<std::size_t>(got)))) {
        return;
      }
    }
  }
}

}  // namespace zelmora::testing
