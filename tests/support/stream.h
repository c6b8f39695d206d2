#pragma once

// A byte stream over a connected socket, plain or TLS (server side).

#include <memory>
#include <string>
#include <string_view>

namespace zelmora::testing {

struct TlsIdentity;

class Stream {
 public:
  virtual ~Stream() = default;
  // Up to `size` bytes; 0 at the end of the stream or on an error.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // All of `bytes`; false when the peer went away.
  virtual bool Write(std::string_view bytes) = 0;
};

std::unique_ptr<Stream> PlainStream(int socket);

// Performs the TLS handshake as the server; null when it fails.
std::unique_ptr<Stream> TlsServerStream(int socket, const TlsIdentity& identity);

}  // namespace zelmora::testing
