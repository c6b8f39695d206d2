#pragma once

// A request object that records every call as a line of text and answers
// reads with canned values, for unit tests of the request function.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "http/request_object.h"

namespace zelmora::testing {

class FakeRequestObject : public RequestObject {
 public:
  std::vector<std::string> calls;
  bool succeed = true;  // what every action returns
  std::optional<ByteSet> body = BytesOf("body");
  std::optional<Text> headers = Text("Server: fake\r\n");
  std::optional<int> status = 200;
  std::function<void()> onDestroy;

  ~FakeRequestObject() override {
    if (onDestroy) onDestroy();
  }

  bool SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
    return Record("SetTimeouts(" + std::to_string(resolveMs) + "," + std::to_string(connectMs) +
                  "," + std::to_string(sendMs) + "," + std::to_string(receiveMs) + ")");
  }
  bool SetProxy(int setting, const Text& server) override {
    return Record("SetProxy(" + std::to_string(setting) + "," + server.str() + ")");
  }
  bool Open(const Text& method, const Text& url, bool async) override {
    return Record("Open(" + method.str() + "," + url.str() + "," + (async ? "true" : "false") +
                  ")");
  }
  bool Option(int index, int value) override {
    return Record("Option(" + std::to_string(index) + "," + std::to_string(value) + ")");
  }
  bool SetRequestHeader(const Text& name, const Text& value) override {
    return Record("Header(" + name.str() + "|" + value.str() + ")");
  }
  bool Send(const RequestBody& requestBody) override {
    if (const Text* text = std::get_if<Text>(&requestBody))
      return Record("Send(text:" + text->str() + ")");
    return Record("Send(bytes:" + std::string(AsChars(std::get<ByteSet>(requestBody))) + ")");
  }
  std::optional<ByteSet> ResponseBody() override { return Read("ResponseBody", body); }
  std::optional<Text> GetAllResponseHeaders() override {
    return Read("GetAllResponseHeaders", headers);
  }
  std::optional<int> Status() override { return Read("Status", status); }
  std::optional<Text> StatusText() override {
    return Read("StatusText", std::optional<Text>(Text("OK")));
  }

 private:
  bool Record(std::string call) {
    calls.push_back(std::move(call));
    return succeed;
  }
  template <typename T>
  std::optional<T> Read(const char* name, const std::optional<T>& value) {
    calls.push_back(name);
    return succeed ? value : std::nullopt;
  }
};

// The calls that start with `prefix`, in order.
inline std::vector<std::string> CallsStartingWith(const std::vector<std::string>& calls,
                                                  std::string_view prefix) {
  std::vector<std::string> matching;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) matching.push_back(call);
  }
  return matching;
}

}  // namespace zelmora::testing
