#include "site/replica_site.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include "app/site_constants.h"
#include "site/replica_content.h"
#include "support/stream.h"

namespace zelmora::testing {
namespace {

// The first byte of a TLS connection: a record of type handshake.
constexpr unsigned char kTlsHandshakeRecord = 0x16;

int Listen(int port) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0) throw std::runtime_error("cannot create a socket");
  const int one = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 256) != 0) {
    const std::string reason = std::strerror(errno);
    close(listener);
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + reason);
  }
  return listener;
}

int BoundPort(int listener) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

// Whether the client opened with a TLS handshake; nothing when it left
// before sending a byte.
std::optional<bool> SpeaksTls(int socket) {
  unsigned char first = 0;
  ssize_t got;
  do {
    got = recv(socket, &first, 1, MSG_PEEK);
  } while (got < 0 && errno == EINTR);
  if (got != 1) return std::nullopt;
  return first == kTlsHandshakeRecord;
}

}  // namespace

ReplicaSite::ReplicaSite(ReplicaOptions options)
    : options_(std::move(options)),
      identity_(MakeSelfSignedIdentity({kDesktopHost, MobileHost()}, {"127.0.0.1"})),
      delayMs_(options_.delay.count()) {
  // A client may leave while a response is written; that must not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  listener_ = Listen(options_.port);
  port_ = BoundPort(listener_);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

ReplicaSite::~ReplicaSite() { Stop(); }

std::string ReplicaSite::ConnectTo() const { return FormatHostMapping(Mapping()); }

HostMapping ReplicaSite::Mapping() const { return {"", "", "127.0.0.1", std::to_string(port_)}; }

void ReplicaSite::SetDelay(std::chrono::milliseconds delay) { delayMs_ = delay.count(); }

std::vector<ReceivedRequest> ReplicaSite::Requests() const {
  std::lock_guard lock(mutex_);
  return {log_.begin(), log_.end()};
}

void ReplicaSite::Stop() {
  if (stopping_.exchange(true)) return;
  shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  close(listener_);
  std::list<Worker> workers;
  {
    std::lock_guard lock(mutex_);
    for (const int socket : open_) shutdown(socket, SHUT_RDWR);
    workers.swap(workers_);
  }
  stopped_.notify_all();
  for (Worker& worker : workers) worker.thread.join();
}

void ReplicaSite::AcceptLoop() {
  while (!stopping_) {
    const int socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) {
      if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE) {
        if (errno == EMFILE || errno == ENFILE)
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      return;
    }
    const int one = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    StartWorker(socket, ++connections_);
  }
}

void ReplicaSite::StartWorker(int socket, int number) {
  JoinFinishedWorkers();
  std::lock_guard lock(mutex_);
  if (stopping_) {
    close(socket);
    return;
  }
  open_.push_back(socket);
  auto done = std::make_shared<std::atomic<bool>>(false);
  workers_.push_back({std::thread([this, socket, number, done] {
                        Serve(socket, number);
                        {
                          std::lock_guard guard(mutex_);
                          std::erase(open_, socket);
                        }
                        close(socket);
                        *done = true;
                      }),
                      done});
}

// A long-running replica serves many connections; their threads are joined
// as new ones arrive rather than piling up until the end.
void ReplicaSite::JoinFinishedWorkers() {
  std::list<Worker> finished;
  {
    std::lock_guard lock(mutex_);
    for (auto it = workers_.begin(); it != workers_.end();) {
      auto next = std::next(it);
      if (*it->done) finished.splice(finished.end(), workers_, it);
      it = next;
    }
  }
  for (Worker& worker : finished) worker.thread.join();
}

void ReplicaSite::Record(const ReceivedRequest& request) {
  ++requests_;
  std::lock_guard lock(mutex_);
  log_.push_back(request);
  while (log_.size() > options_.keptRequests) log_.pop_front();
}

// Waits the response delay; false when the replica stopped meanwhile.
bool ReplicaSite::WaitDelay() {
  const std::chrono::milliseconds delay(delayMs_.load());
  if (delay.count() <= 0) return !stopping_;
  std::unique_lock lock(mutex_);
  return !stopped_.wait_for(lock, delay, [this] { return stopping_.load(); });
}

void ReplicaSite::Serve(int socket, int number) {
  const std::optional<bool> tls = SpeaksTls(socket);
  if (!tls) return;
  const std::unique_ptr<Stream> stream =
      *tls ? TlsServerStream(socket, identity_) : PlainStream(socket);
  if (!stream) return;
  RequestReader reader(*stream);
  while (std::optional<ReceivedRequest> request = reader.Next()) {
    request->connection = number;
    Record(*request);
    const Reply reply = SiteReply(*request);
    if (!WaitDelay()) return;
    const bool written = stream->Write(reply.bytes);
    if (options_.onReply) options_.onReply(*request, reply);
    if (!written || !FinishReply(reply.then, socket, *stream)) return;
  }
}

}  // namespace zelmora::testing
