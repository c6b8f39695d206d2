#pragma once

// The HTTP request object that every exchange of WebRequest runs through,
// its holder, and the table of backends that create it.
//
// A backend (one source file per platform, chosen by the build) implements
// RequestObject and registers a RequestObjectBackend under the ProgID it
// answers to. The core never names a backend: it creates objects by ProgID.

#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/text.h"

namespace zelmora {

// The ProgID of the request object that WebRequest creates.
inline constexpr std::string_view kRequestObjectProgId = "WinHttp.WinHttpRequest.5.1";

// Option indexes of RequestObject::Option.
inline constexpr int kOptionSslErrorIgnoreFlags = 4;
inline constexpr int kOptionEnableRedirects = 6;

// Certificate errors that Option(kOptionSslErrorIgnoreFlags, ...) can ignore.
inline constexpr int kIgnoreUnknownCertificateAuthority = 0x0100;
inline constexpr int kIgnoreWrongCertificateUsage = 0x0200;
inline constexpr int kIgnoreCertificateNameMismatch = 0x1000;
inline constexpr int kIgnoreCertificateInvalidDate = 0x2000;
inline constexpr int kIgnoreAllCertificateErrors = 0x3300;

// SetProxy setting that names a proxy server.
inline constexpr int kProxySettingNamed = 2;

// A request body: a text is sent as its bytes, a byte set as it is.
using RequestBody = std::variant<Text, ByteSet>;

// One HTTP request at a time, driven synchronously.
//
// Failure: every member reports failure (false, or an empty optional) and
// never throws; a caller that goes on after a failure gets the empty result.
// A failed Send makes the response reads fail until the next successful Send.
// Ownership: results are copies owned by the caller.
// Threads: an object is used by one thread at a time. Different objects may
// be used on different threads at once; they share the process's connection
// cache. The thread must have been prepared with RequestThreadScope.
class RequestObject {
 public:
  virtual ~RequestObject() = default;

  // Timeouts in milliseconds for name resolution, connecting, sending and
  // receiving; a value of 0 or -1 sets no limit for that phase. Fails for a
  // value below -1. Applies to every later Send.
  virtual bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) = 0;
  // With kProxySettingNamed, later requests go through the proxy `server`
  // ("host:port"); settings 0 and 1 go direct. Fails for any other setting
  // or an empty or unusable server.
  virtual bool SetProxy(int setting, const Text& server) = 0;
  // Prepares a request with `method` (an HTTP token) to `url` (http or https
  // only) and forgets the headers and the response of an earlier request.
  // Only synchronous requests are supported: `async` true fails.
  virtual bool Open(const Text& method, const Text& url, bool async) = 0;
  // Sets option `index` to `value`: kOptionEnableRedirects (0 disables
  // following redirects) and kOptionSslErrorIgnoreFlags (a set of kIgnore...
  // flags). Fails for any other index.
  virtual bool Option(int index, int value) = 0;
  // Adds a request header; a name given again (any letter case) replaces the
  // earlier value. Fails before Open, for a name that is not an HTTP token
  // and for a value holding CR or LF, so that no line can be smuggled in.
  virtual bool SetRequestHeader(const Text& name, const Text& value) = 0;
  // Sends the request and blocks until the response has arrived, a timeout
  // has passed or the exchange failed. Fails before Open and for every
  // failed exchange.
  virtual bool Send(const RequestBody& body) = 0;

  // Reads of the response of the last successful Send; empty before one.
  virtual std::optional<ByteSet> ResponseBody() = 0;
  // The header lines of the final response, each followed by CR LF, without
  // the status line.
  virtual std::optional<Text> GetAllResponseHeaders() = 0;
  virtual std::optional<int> Status() = 0;
  virtual std::optional<Text> StatusText() = 0;
};

// Holds at most one reference to a request object. Copying adds a reference,
// Clear releases this holder's reference; the object goes when the last
// reference goes. Every call on an empty holder fails with the empty result.
// Threads: as RequestObject; copies share one object.
class AutomationObject {
 public:
  AutomationObject() = default;
  explicit AutomationObject(std::shared_ptr<RequestObject> object) : object_(std::move(object)) {}

  bool empty() const { return object_ == nullptr; }
  void Clear() { object_.reset(); }

  bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) const;
  bool SetProxy(int setting, const Text& server) const;
  bool Open(const Text& method, const Text& url, bool async) const;
  bool Option(int index, int value) const;
  bool SetRequestHeader(const Text& name, const Text& value) const;
  bool Send(const RequestBody& body) const;
  std::optional<ByteSet> ResponseBody() const;
  std::optional<Text> GetAllResponseHeaders() const;
  std::optional<int> Status() const;
  std::optional<Text> StatusText() const;

 private:
  std::shared_ptr<RequestObject> object_;
};

// One entry of the table of backends. A backend's source file defines one
// and registers it with RegisterRequestObjectBackend at start-up.
struct RequestObjectBackend {
  // The ProgID this backend creates objects for.
  std::string_view progId;
  // Makes a new object; null when it cannot.
  std::unique_ptr<RequestObject> (*create)();
  // Prepares the calling thread before objects are made and used on it (the
  // place of COM initialisation on Windows); null when nothing is needed.
  void (*prepareThread)();
  // Undoes one prepareThread; null when nothing is needed.
  void (*releaseThread)();
};

// Adds a backend to the table. The backend must outlive the process's use of
// it (a static object). Registering happens during start-up.
void RegisterRequestObjectBackend(const RequestObjectBackend* backend);

// Replaces the whole table and returns the former one; for tests.
std::vector<const RequestObjectBackend*> ReplaceRequestObjectBackends(
    std::vector<const RequestObjectBackend*> backends);

// A new object from the first backend registered for `progId`; an empty
// holder when there is none or it cannot make one.
AutomationObject CreateAutomationObject(std::string_view progId);

// Prepares the calling thread for request objects for its lifetime: calls
// every backend's prepareThread when made and its releaseThread when
// destroyed, in reverse order. Nests.
class RequestThreadScope {
 public:
  RequestThreadScope();
  ~RequestThreadScope();
  RequestThreadScope(const RequestThreadScope&) = delete;
  RequestThreadScope& operator=(const RequestThreadScope&) = delete;

 private:
  std::vector<const RequestObjectBackend*> prepared_;
};

}  // namespace zelmora
