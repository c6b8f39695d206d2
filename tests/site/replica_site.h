#pragma once

// The replica of the music site: one HTTP/1.1 server on 127.0.0.1 that
// serves every host of the site, told apart by the Host header, so clients
// reach it through a host mapping (curl's --connect-to) without changing the
// site's addresses. Each connection may speak plain HTTP or TLS (the first
// byte tells); the certificate is self-signed, which the request function
// accepts. Content and scenarios: replica_content.h.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "http/host_mapping.h"
#include "support/http_wire.h"
#include "support/loopback_server.h"
#include "support/test_certificate.h"

namespace zelmora::testing {

struct ReplicaOptions {
  int port = 0;                        // 0: an ephemeral port
  std::chrono::milliseconds delay{0};  // waited before every response
  std::size_t keptRequests = 10000;    // the most recent requests that Requests() returns
  // Called on the connection's thread after each response was written (or
  // failed to be); for logging. Not given: nothing.
  std::function<void(const ReceivedRequest&, const Reply&)> onReply;
};

class ReplicaSite {
 public:
  // Listens at once. Throws std::runtime_error when the port cannot be bound.
  explicit ReplicaSite(ReplicaOptions options = {});
  ~ReplicaSite();
  ReplicaSite(const ReplicaSite&) = delete;
  ReplicaSite& operator=(const ReplicaSite&) = delete;

  int port() const { return port_; }
  // "::127.0.0.1:<port>": every host and port to this server, for --connect-to.
  std::string ConnectTo() const;
  // The same as a host mapping of the HTTP layer.
  HostMapping Mapping() const;

  // Changes the wait before every response; responses already waiting keep theirs.
  void SetDelay(std::chrono::milliseconds delay);

  // Connections accepted and requests read so far.
  int ConnectionCount() const { return connections_.load(); }
  int RequestCount() const { return requests_.load(); }
  // The most recent requests in the order they were read, each with the
  // 1-based number of the connection that carried it.
  std::vector<ReceivedRequest> Requests() const;

  // Stops accepting, cuts open connections (waiting responses end at once)
  // and waits for their threads. Idempotent; the destructor calls it.
  void Stop();

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  void AcceptLoop();
  void StartWorker(int socket, int number);
  void JoinFinishedWorkers();
  void Serve(int socket, int number);
  void Record(const ReceivedRequest& request);
  bool WaitDelay();

  ReplicaOptions options_;
  TlsIdentity identity_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::atomic<int> requests_{0};
  std::atomic<long long> delayMs_{0};

  mutable std::mutex mutex_;  // guards the members below
  std::condition_variable stopped_;
  std::deque<ReceivedRequest> log_;
  std::vector<int> open_;
  std::list<Worker> workers_;
  std::thread acceptor_;
};

}  // namespace zelmora::testing
