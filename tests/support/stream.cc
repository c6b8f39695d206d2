#include "support/stream.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <sys/socket.h>

#include "support/test_certificate.h"

namespace zelmora::testing {
namespace {

class Plain final : public Stream {
 public:
  explicit Plain(int socket) : socket_(socket) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    const ssize_t got = recv(socket_, buffer, size, 0);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

 private:
  int socket_;
};

struct ContextFree {
  void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
struct SslFree {
  void operator()(SSL* ssl) const { SSL_free(ssl); }
};

std::unique_ptr<SSL_CTX, ContextFree> MakeContext(const TlsIdentity& identity) {
  std::unique_ptr<SSL_CTX, ContextFree> context(SSL_CTX_new(TLS_server_method()));
  if (!context) return nullptr;
  BIO* certificateBio = BIO_new_mem_buf(identity.certificatePem.data(),
                                        static_cast<int>(identity.certificatePem.size()));
  BIO* keyBio = BIO_new_mem_buf(identity.privateKeyPem.data(),
                                static_cast<int>(identity.privateKeyPem.size()));
  X509* certificate = PEM_read_bio_X509(certificateBio, nullptr, nullptr, nullptr);
  EVP_PKEY* key = PEM_read_bio_PrivateKey(keyBio, nullptr, nullptr, nullptr);
  const bool ok = certificate != nullptr && key != nullptr &&
                  SSL_CTX_use_certificate(context.get(), certificate) == 1 &&
                  SSL_CTX_use_PrivateKey(context.get(), key) == 1;
  X509_free(certificate);
  EVP_PKEY_free(key);
  BIO_free(certificateBio);
  BIO_free(keyBio);
  return ok ? std::move(context) : nullptr;
}

class Tls final : public Stream {
 public:
  Tls(std::unique_ptr<SSL_CTX, ContextFree> context, std::unique_ptr<SSL, SslFree> ssl)
      : context_(std::move(context)), ssl_(std::move(ssl)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    const int got = SSL_read(ssl_.get(), buffer, static_cast<int>(size));
    if (got <= 0) ERR_clear_error();
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const int sent = SSL_write(ssl_.get(), bytes.data(), static_cast<int>(bytes.size()));
      if (sent <= 0) {
        ERR_clear_error();
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

 private:
  std::unique_ptr<SSL_CTX, ContextFree> context_;
  std::unique_ptr<SSL, SslFree> ssl_;
};

}  // namespace

std::unique_ptr<Stream> PlainStream(int socket) { return std::make_unique<Plain>(socket); }

std::unique_ptr<Stream> TlsServerStream(int socket, const TlsIdentity& identity) {
  auto context = MakeContext(identity);
  if (!context) return nullptr;
  std::unique_ptr<SSL, SslFree> ssl(SSL_new(context.get()));
  if (!ssl || SSL_set_fd(ssl.get(), socket) != 1 || SSL_accept(ssl.get()) != 1) {
    ERR_clear_error();
    return nullptr;
  }
  return std::make_unique<Tls>(std::move(context), std::move(ssl));
}

}  // namespace zelmora::testing
