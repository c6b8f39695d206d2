#pragma once

// A TCP listener on 127.0.0.1 with an ephemeral port that hands every
// accepted connection to a callback on a thread of its own.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zelmora::testing {

class ConnectionServer {
 public:
  // Called on the connection's own thread with the socket and the 1-based
  // number of the connection; the server closes the socket afterwards.
  using OnConnection = std::function<void(int socket, int number)>;

  explicit ConnectionServer(OnConnection onConnection);
  ~ConnectionServer();
  ConnectionServer(const ConnectionServer&) = delete;
  ConnectionServer& operator=(const ConnectionServer&) = delete;

  int port() const { return port_; }
  int connectionCount() const { return connections_.load(); }
  bool stopping() const { return stopping_.load(); }

  // Stops accepting, shuts every open socket down (so blocked reads return)
  // and waits for the connection threads. Idempotent.
  void Stop();

  // Registers another socket that Stop must shut down (a proxy's upstream),
  // and forgets it again before it is closed.
  void Track(int socket);
  void Untrack(int socket);

 private:
  void AcceptLoop();
  void Serve(int socket, int number);

  OnConnection onConnection_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<int> open_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A socket connected to 127.0.0.1:port, or -1.
int ConnectLoopback(int port);

}  // namespace zelmora::testing
