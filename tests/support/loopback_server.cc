#include "support/loopback_server.h"

#include <sys/socket.h>

namespace zelmora::testing {
namespace {

void Reset(int socket) {
  const linger abort{1, 0};
  setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
}

void WaitForClientToLeave(Stream& stream) {
  char ignored[4096];
  while (stream.Read(ignored, sizeof ignored) > 0) {
  }
}

}  // namespace

bool FinishReply(Reply::Then then, int socket, Stream& stream) {
  switch (then) {
    case Reply::Then::kKeepOpen:
      return true;
    case Reply::Then::kClose:
      return false;
    case Reply::Then::kReset:
      Reset(socket);
      return false;
    case Reply::Then::kStaySilent:
      WaitForClientToLeave(stream);
      return false;
  }
  return false;
}

Reply Reply::Http(int status, std::string_view reason, std::string_view headerLines,
                  std::string_view body) {
  std::string bytes = "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) + "\r\n";
  bytes += headerLines;
  bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  bytes += body;
  return {std::move(bytes), Then::kKeepOpen};
}

Reply Reply::Ok(std::string_view body, std::string_view headerLines) {
  return Http(200, "OK", headerLines, body);
}

Reply Reply::Redirect(int status, std::string_view location) {
  return Http(status, "Found", "Location: " + std::string(location) + "\r\n", "moved");
}

Reply Reply::Raw(std::string bytes, Then then) { return {std::move(bytes), then}; }

Reply Reply::Silence() { return {"", Then::kStaySilent}; }

LoopbackServer::LoopbackServer(Handler handler, std::optional<TlsIdentity> tls)
    : handler_(std::move(handler)),
      tls_(std::move(tls)),
      server_([this](int socket, int number) { Serve(socket, number); }) {}

LoopbackServer::~LoopbackServer() { server_.Stop(); }

std::string LoopbackServer::Url(std::string_view path, std::string_view host) const {
  return std::string(tls_ ? "https://" : "http://") + std::string(host) + ":" +
         std::to_string(port()) + std::string(path);
}

std::vector<ReceivedRequest> LoopbackServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::Serve(int socket, int number) {
  const std::unique_ptr<Stream> stream =
      tls_ ? TlsServerStream(socket, *tls_) : PlainStream(socket);
  if (!stream) return;
  RequestReader reader(*stream);
  while (std::optional<ReceivedRequest> request = reader.Next()) {
    request->connection = number;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(*request);
    }
    const Reply reply = handler_(*request);
    if (!stream->Write(reply.bytes)) return;
    const std::optional<std::string> connection = request->Header("Connection");
    const bool clientCloses = connection && EqualsIgnoringCase(*connection, "close");
    if (clientCloses && reply.then == Reply::Then::kKeepOpen) return;
    if (!FinishReply(reply.then, socket, *stream)) return;
  }
}

}  // namespace zelmora::testing
