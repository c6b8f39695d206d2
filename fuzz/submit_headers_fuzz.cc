#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "http/header_submission.h"
#include "http/request_headers.h"

using namespace zelmora;

namespace {

// Records the headers handed over; every other member fails.
class RecordingObject final : public RequestObject {
 public:
  std::vector<std::pair<Text, Text>> headers;

  bool SetTimeouts(int, int, int, int) override { return false; }
  bool SetProxy(int, const Text&) override { return false; }
  bool Open(const Text&, const Text&, bool) override { return false; }
  bool Option(int, int) override { return false; }
  bool SetRequestHeader(const Text& name, const Text& value) override {
    headers.emplace_back(name, value);
    return true;
  }
  bool Send(const RequestBody&) override { return false; }
  std::optional<ByteSet> ResponseBody() override { return std::nullopt; }
  std::optional<Text> GetAllResponseHeaders() override { return std::nullopt; }
  std::optional<int> Status() override { return std::nullopt; }
  std::optional<Text> StatusText() override { return std::nullopt; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const auto recorder = std::make_shared<RecordingObject>();
  const AutomationObject object(recorder);
  const bool withCookies = input.Flag();
  HeaderSettings settings{.methodIndex = static_cast<int>(input.SmallNumber()),
                          .completeHeaders = input.Flag(),
                          .normalizeNames = input.Flag(),
                          .proxyAuthMode = input.SmallNumber()};
  settings.url = input.NextText();
  settings.proxyAddress = input.NextText();
  settings.proxyUser = input.NextText();
  settings.proxyPassword = input.NextText();
  Text cookies = input.NextText();
  if (withCookies) settings.sentCookies = &cookies;
  Text headers = input.NextText();
  PrepareRequestHeaders(object, headers, settings);
  const std::size_t lines = headers.size() + 1;  // of the completed text
  if (settings.normalizeNames) fuzz::Check(NormalizeHeaderNames(headers) == headers);
  // Credentials, the cookie header and at most one header per byte of text.
  fuzz::Check(recorder->headers.size() <= lines + 2);
  // The credentials come first when asked for, then the cookie header.
  const bool credentials =
      !settings.proxyAddress.empty() && !settings.proxyUser.empty() && settings.proxyAuthMode == 1;
  std::size_t next = 0;
  if (credentials) {
    fuzz::Check(recorder->headers.at(next).first == Text("Proxy-Authorization"));
    ++next;
  }
  if (withCookies) {
    fuzz::Check(recorder->headers.at(next) == std::make_pair(Text("Cookie"), cookies));
    ++next;
  }
  // A text without a line break is submitted as one header, even when empty.
  if (headers.view().find("\r\n") == std::string_view::npos) {
    fuzz::Check(recorder->headers.size() == next + 1);
  }
  return 0;
}
