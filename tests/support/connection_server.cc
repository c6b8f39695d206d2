#include "support/connection_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace zelmora::testing {
namespace {

sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

ConnectionServer::ConnectionServer(OnConnection onConnection)
    : onConnection_(std::move(onConnection)) {
  // A TLS write to a client that went away must fail, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 64) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

ConnectionServer::~ConnectionServer() { Stop(); }

void ConnectionServer::Stop() {
  if (stopping_.exchange(true)) return;
  shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  close(listener_);
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(mutex_);
    for (const int socket : open_) shutdown(socket, SHUT_RDWR);
    workers.swap(workers_);
  }
  for (std::thread& worker : workers) worker.join();
}

void ConnectionServer::Track(int socket) {
  std::lock_guard lock(mutex_);
  open_.push_back(socket);
  if (stopping_) shutdown(socket, SHUT_RDWR);
}

void ConnectionServer::Untrack(int socket) {
  std::lock_guard lock(mutex_);
  std::erase(open_, socket);
}

void ConnectionServer::AcceptLoop() {
  while (!stopping_) {
    const int socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    const int one = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const int number = ++connections_;
    std::lock_guard lock(mutex_);
    if (stopping_) {
      close(socket);
      return;
    }
    open_.push_back(socket);
    workers_.emplace_back([this, socket, number] { Serve(socket, number); });
  }
}

void ConnectionServer::Serve(int socket, int number) {
  onConnection_(socket, number);
  Untrack(socket);
  close(socket);
}

int ConnectLoopback(int port) {
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = LoopbackAddress(port);
  if (socket >= 0 &&
      connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const int one = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return socket;
  }
  if (socket >= 0) close(socket);
  return -1;
}

}  // namespace zelmora::testing
