// The request object on libcurl: HTTP/1.1 only, http and https only (for
// redirects too), connections shared by the whole process.

#include "http/request_object_curl.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "http/curl_shared_cache.h"
#include "http/host_mapping.h"
#include "http/transport_error.h"

namespace zelmora {
namespace {

constexpr long kMaxRedirects = 10;
// Idle connections the shared cache keeps: enough for the command-line tool's
// 64 concurrent runs, each holding one connection to each of the site's two
// hosts. libcurl's default of 5 would close and reopen them all the time.
constexpr long kMaxCachedConnections = 128;
constexpr char kProtocols[] = "http,https";
// Sent when the caller names no User-Agent, as the object this backend
// stands in for does.
constexpr char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";
// Certificate errors that libcurl can only ignore together, by not checking
// the chain at all.
constexpr int kChainErrors = kIgnoreUnknownCertificateAuthority | kIgnoreWrongCertificateUsage |
                             kIgnoreCertificateInvalidDate;

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// An HTTP token: the form of a method or a header name.
bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
           return lower(x) == lower(y);
         });
}

// An absolute address whose scheme is http or https, with a host, and with
// no space or control character anywhere. libcurl reads the rest when the
// request is sent, and a Send to an address it cannot read fails.
bool IsHttpUrl(std::string_view url) {
  const std::size_t separator = url.find("://");
  if (separator == std::string_view::npos) return false;
  const std::string_view scheme = url.substr(0, separator);
  if (!EqualsIgnoringCase(scheme, "http") && !EqualsIgnoringCase(scheme, "https")) return false;
  const std::string_view rest = url.substr(separator + 3);
  if (rest.empty() || std::string_view("/?#:").find(rest.front()) != std::string_view::npos) {
    return false;
  }
  return std::none_of(url.begin(), url.end(), [](char c) {
    return static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) == 0x7F;
  });
}

// "host:port" or "http://host:port", without spaces or control characters.
std::optional<std::string> ProxyUrl(std::string_view server) {
  if (server.empty()) return std::nullopt;
  for (const char c : server) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return std::nullopt;
  }
  const std::size_t schemeEnd = server.find("://");
  if (schemeEnd == std::string_view::npos) return "http://" + std::string(server);
  if (!EqualsIgnoringCase(server.substr(0, schemeEnd), "http")) return std::nullopt;
  return std::string(server);
}

// Headers this backend computes itself: a caller's value could make the
// server read the body differently from how it is sent.
bool IsFramingHeader(std::string_view name) {
  return EqualsIgnoringCase(name, "Content-Length") ||
         EqualsIgnoringCase(name, "Transfer-Encoding");
}

// Headers meant for the proxy, never for the origin server.
bool IsProxyHeader(std::string_view name) {
  return EqualsIgnoringCase(name, "Proxy-Authorization");
}

bool IsFinite(int ms) { return ms > 0; }

class HeaderList {
 public:
  HeaderList() = default;
  HeaderList(const HeaderList&) = delete;
  HeaderList& operator=(const HeaderList&) = delete;
  ~HeaderList() { curl_slist_free_all(list_); }

  void Append(const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list_, line.c_str())) list_ = grown;
  }
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

struct Timeouts {
  int resolveMs = 0;  // 0 or -1: no limit
  int connectMs = 60000;
  int sendMs = 30000;
  int receiveMs = 30000;
};

struct Response {
  ByteSet body;
  std::string headers;  // the final response's header lines, each + CR LF
  std::string statusText;
  int status = 0;
};

// Gathers one exchange while libcurl runs it. Responses of followed
// redirects and interim responses are replaced by the next one.
class Transfer {
 public:
  Transfer(CURL* easy, const CurlBackendSettings& settings) : easy_(easy), settings_(settings) {}

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<Transfer*>(self)->AddBody(std::string_view(data, size * count));
  }
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<Transfer*>(self)->AddHeaderLine(std::string_view(data, size * count));
  }

  Response& response() { return response_; }

 private:
  // Returning less than given makes libcurl end the transfer with an error.
  std::size_t AddBody(std::string_view bytes) {
    ByteSet& body = response_.body;
    if (bytes.size() > settings_.maxBodyBytes - body.size()) return 0;
    if (body.empty()) ReserveAnnouncedLength();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    body.insert(body.end(), data, data + bytes.size());
    return bytes.size();
  }

  // Room for the whole body at once when the response announced its length
  // (within the cap).
  void ReserveAnnouncedLength() {
    curl_off_t length = -1;
    if (curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) return;
    if (length > 0 && static_cast<std::uint64_t>(length) <= settings_.maxBodyBytes) {
      response_.body.reserve(static_cast<std::size_t>(length));
    }
  }

  std::size_t AddHeaderLine(std::string_view raw) {
    headerBytes_ += raw.size();
    if (headerBytes_ > settings_.maxHeaderBytes) return 0;
    std::string_view line = raw;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (awaitingStatusLine_) {
      // Lines after the end of a header block and before a status line are
      // trailers of a chunked body; they are not response headers.
      if (line.starts_with("HTTP/")) StartResponse(line);
    } else if (line.empty()) {
      awaitingStatusLine_ = true;
    } else {
      // A text holds no zero byte; the rest of the line is kept.
      for (const char c : line) {
        if (c != '\0') response_.headers += c;
      }
      response_.headers += "\r\n";
    }
    return raw.size();
  }

  void StartResponse(std::string_view statusLine) {
    awaitingStatusLine_ = false;
    headerBytes_ = statusLine.size();
    response_.headers.clear();
    // "HTTP/1.1 200 OK": the text after the code.
    const std::size_t codeStart = statusLine.find(' ');
    const std::size_t textStart =
        codeStart == std::string_view::npos ? codeStart : statusLine.find(' ', codeStart + 1);
    response_.statusText =
        textStart == std::string_view::npos ? "" : std::string(statusLine.substr(textStart + 1));
    std::erase(response_.statusText, '\0');
  }

  CURL* easy_;
  const CurlBackendSettings& settings_;
  Response response_;
  std::size_t headerBytes_ = 0;
  bool awaitingStatusLine_ = true;
};

// One request object. See RequestObject for the contract.
class CurlRequestObject final : public RequestObject {
 public:
  explicit CurlRequestObject(CurlBackendSettings settings) : settings_(std::move(settings)) {}

  bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
    if (std::min({resolveMs, connectMs, sendMs, receiveMs}) < -1) return false;
    timeouts_ = {resolveMs, connectMs, sendMs, receiveMs};
    return true;
  }

  bool SetProxy(int setting, const Text& server) override {
    if (setting == 0 || setting == 1) {
      proxyUrl_.clear();
      return true;
    }
    if (setting != kProxySettingNamed) return false;
    const std::optional<std::string> url = ProxyUrl(server.view());
    if (!url) return false;
    proxyUrl_ = *url;
    return true;
  }

  bool Open(const Text& method, const Text& url, bool async) override {
    opened_ = false;
    headers_.clear();
    response_.reset();
    if (async || !IsToken(method.view()) || !IsHttpUrl(url.view())) return false;
    method_ = method.str();
    url_ = url.str();
    opened_ = true;
    return true;
  }

  bool Option(int index, int value) override {
    if (index == kOptionEnableRedirects) {
      followRedirects_ = value != 0;
      return true;
    }
    if (index == kOptionSslErrorIgnoreFlags) {
      ignoredCertificateErrors_ = value;
      return true;
    }
    return false;
  }

  bool SetRequestHeader(const Text& name, const Text& value) override {
    if (!opened_ || !IsToken(name.view()) || IsFramingHeader(name.view())) return false;
    if (value.view().find_first_of("\r\n") != std::string_view::npos) return false;
    const auto same = std::find_if(headers_.begin(), headers_.end(), [&](const auto& header) {
      return EqualsIgnoringCase(header.first, name.view());
    });
    if (same != headers_.end()) {
      same->second = value.str();
    } else {
      headers_.emplace_back(name.str(), value.str());
    }
    return true;
  }

  bool Send(const RequestBody& body) override;

  std::optional<ByteSet> ResponseBody() override {
    if (!response_) return std::nullopt;
    return response_->body;
  }
  std::optional<Text> GetAllResponseHeaders() override {
    if (!response_) return std::nullopt;
    return Text(response_->headers);
  }
  std::optional<int> Status() override {
    if (!response_) return std::nullopt;
    return response_->status;
  }
  std::optional<Text> StatusText() override {
    if (!response_) return std::nullopt;
    return Text(response_->statusText);
  }

 private:
  bool HasHeader(std::string_view name) const {
    return std::any_of(headers_.begin(), headers_.end(),
                       [&](const auto& header) { return EqualsIgnoringCase(header.first, name); });
  }

  void ConfigureConnection(CURL* easy, HeaderList& connectTo) const;
  void ConfigureTimeouts(CURL* easy) const;
  void ConfigureCertificates(CURL* easy) const;
  bool ConfigureMethod(CURL* easy, const std::string& payload) const;
  void ConfigureHeaders(CURL* easy, bool hasBody, HeaderList& origin, HeaderList& proxy) const;

  CurlBackendSettings settings_;
  Timeouts timeouts_;
  std::string proxyUrl_;  // empty: direct
  bool followRedirects_ = true;
  int ignoredCertificateErrors_ = 0;
  bool opened_ = false;
  std::string method_;
  std::string url_;
  std::vector<std::pair<std::string, std::string>> headers_;  // in the order first given
  std::optional<Response> response_;
};

void CurlRequestObject::ConfigureConnection(CURL* easy, HeaderList& connectTo) const {
  curl_easy_setopt(easy, CURLOPT_URL, url_.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_SHARE, SharedCurlCache());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, followRedirects_ ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_MAXCONNECTS, kMaxCachedConnections);
  // An empty proxy also keeps libcurl from taking one from the environment,
  // and an empty exception list keeps the environment from bypassing ours.
  curl_easy_setopt(easy, CURLOPT_PROXY, proxyUrl_.c_str());
  if (!proxyUrl_.empty()) {
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  }
  const std::shared_ptr<const std::vector<HostMapping>> mappings = HostMappings();
  if (!mappings->empty()) {
    for (const HostMapping& mapping : *mappings) connectTo.Append(FormatHostMapping(mapping));
    curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo.get());
  }
}

void CurlRequestObject::ConfigureTimeouts(CURL* easy) const {
  // libcurl counts name resolution as part of connecting.
  std::int64_t connectMs = 0;
  if (IsFinite(timeouts_.connectMs)) {
    connectMs =
        timeouts_.connectMs + std::int64_t{IsFinite(timeouts_.resolveMs) ? timeouts_.resolveMs : 0};
  }
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectMs));
  // A server that sends nothing for the receive time (the send time when
  // receiving has no limit) ends the request; libcurl counts whole seconds.
  const int idleMs = IsFinite(timeouts_.receiveMs) ? timeouts_.receiveMs
                     : IsFinite(timeouts_.sendMs)  ? timeouts_.sendMs
                                                   : 0;
  if (idleMs > 0) {
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>((idleMs + 999) / 1000));
  }
}

void CurlRequestObject::ConfigureCertificates(CURL* easy) const {
  const bool skipChain = (ignoredCertificateErrors_ & kChainErrors) == kChainErrors;
  const bool skipName = (ignoredCertificateErrors_ & kIgnoreCertificateNameMismatch) != 0;
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, skipChain ? 0L : 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, skipName ? 0L : 2L);
  if (!settings_.trustedCertificatesPem.empty()) {
    curl_blob authorities{const_cast<char*>(settings_.trustedCertificatesPem.data()),
                          settings_.trustedCertificatesPem.size(), CURL_BLOB_COPY};
    curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &authorities);
  }
}

// Returns whether the request carries a body, and so a default body type.
bool CurlRequestObject::ConfigureMethod(CURL* easy, const std::string& payload) const {
  if (method_ == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    return false;
  }
  if (method_ == "GET" && payload.empty()) {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    return false;
  }
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, payload.data());
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(payload.size()));
  if (method_ != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method_.c_str());
  return true;
}

void CurlRequestObject::ConfigureHeaders(CURL* easy, bool hasBody, HeaderList& origin,
                                         HeaderList& proxy) const {
  for (const auto& [name, value] : headers_) {
    // "Name;" is libcurl's way to send a header with an empty value.
    const std::string line = value.empty() ? name + ";" : name + ": " + value;
    if (!IsProxyHeader(name)) {
      origin.Append(line);
    } else if (!proxyUrl_.empty()) {
      proxy.Append(line);
    }
  }
  // "Name:" removes a header that libcurl would add on its own.
  if (!HasHeader("Expect")) origin.Append("Expect:");
  if (hasBody && !HasHeader("Content-Type")) origin.Append("Content-Type:");
  curl_easy_setopt(easy, CURLOPT_USERAGENT, kDefaultUserAgent);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, origin.get());
  if (!proxyUrl_.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXYHEADER, proxy.get());
    curl_easy_setopt(easy, CURLOPT_HEADEROPT, CURLHEADER_SEPARATE);
  }
}

bool CurlRequestObject::Send(const RequestBody& body) {
  response_.reset();
  if (!opened_) return false;
  std::unique_ptr<CURL, decltype(&ReleaseEasyHandle)> easy(AcquireEasyHandle(), &ReleaseEasyHandle);
  if (!easy) return false;
  // A text body is sent as its bytes.
  const std::string payload = std::visit(
      [](const auto& bytes) {
        if constexpr (std::is_same_v<std::decay_t<decltype(bytes)>, Text>)
          return bytes.str();
        else
          return std::string(AsChars(bytes));
      },
      body);
  Transfer transfer(easy.get(), settings_);
  HeaderList connectTo, origin, proxy;
  ConfigureConnection(easy.get(), connectTo);
  ConfigureTimeouts(easy.get());
  ConfigureCertificates(easy.get());
  ConfigureHeaders(easy.get(), ConfigureMethod(easy.get(), payload), origin, proxy);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, &transfer);
  char reason[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(easy.get(), CURLOPT_ERRORBUFFER, reason);
  const CURLcode result = curl_easy_perform(easy.get());
  curl_easy_setopt(easy.get(), CURLOPT_ERRORBUFFER, nullptr);
  if (result != CURLE_OK) {
    SetLastTransportError(reason[0] != '\0' ? reason : curl_easy_strerror(result));
    return false;
  }
  long status = 0;
  curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
  transfer.response().status = static_cast<int>(status);
  response_ = std::move(transfer.response());
  return true;
}

std::unique_ptr<RequestObject> CreateWithDefaults() {
  return std::make_unique<CurlRequestObject>(CurlBackendSettings{});
}

constexpr RequestObjectBackend kCurlBackend{kRequestObjectProgId, &CreateWithDefaults, nullptr,
                                            nullptr};

[[maybe_unused]] const bool kRegistered = (RegisterRequestObjectBackend(&kCurlBackend), true);

}  // namespace

AutomationObject CreateCurlRequestObject(const CurlBackendSettings& settings) {
  return AutomationObject(std::make_shared<CurlRequestObject>(settings));
}

}  // namespace zelmora
