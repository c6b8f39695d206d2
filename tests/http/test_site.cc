#include "test_site.h"

#include <charconv>

namespace zelmora::testing {
namespace {

std::size_t NumberAfter(std::string_view target, std::string_view prefix) {
  std::size_t value = 0;
  target.remove_prefix(prefix.size());
  std::from_chars(target.data(), target.data() + target.size(), value);
  return value;
}

Reply Chunked(std::size_t size) {
  std::string bytes = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  constexpr std::size_t kChunk = 4096;
  for (std::size_t sent = 0; sent < size; sent += kChunk) {
    const std::size_t length = std::min(kChunk, size - sent);
    char hex[20];
    const auto end = std::to_chars(hex, hex + sizeof hex, length, 16).ptr;
    bytes.append(hex, end).append("\r\n").append(length, 'c').append("\r\n");
  }
  bytes += "0\r\n\r\n";
  return Reply::Raw(std::move(bytes), Reply::Then::kKeepOpen);
}

}  // namespace

Reply TestSiteReply(const ReceivedRequest& request) {
  const std::string_view target = request.target;
  if (target == "/echo") {
    return Reply::Ok(request.method + " " + request.body, "X-MiXeD-Case: Yes\r\n");
  }
  if (target == "/cookies") {
    return Reply::Ok("", "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n");
  }
  if (target.starts_with("/redirect/")) {
    const std::size_t left = NumberAfter(target, "/redirect/");
    if (left == 0) return Reply::Ok("landed", "X-Final: yes\r\n");
    return Reply::Http(302, "Found",
                       "Location: /redirect/" + std::to_string(left - 1) +
                           "\r\nX-Hop: " + std::to_string(left) + "\r\n",
                       "");
  }
  if (target.starts_with("/status/")) {
    const auto status = static_cast<int>(NumberAfter(target, "/status/"));
    return Reply::Http(status, "Status", "Location: /echo\r\n", "status body");
  }
  if (target == "/loop") return Reply::Redirect(302, "/loop");
  if (target.starts_with("/to/")) return Reply::Redirect(302, target.substr(4));
  if (target.starts_with("/bytes/")) {
    return Reply::Ok(std::string(NumberAfter(target, "/bytes/"), 'b'));
  }
  if (target.starts_with("/chunked/")) return Chunked(NumberAfter(target, "/chunked/"));
  if (target == "/silent") return Reply::Silence();
  if (target == "/stall") {
    return {"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", Reply::Then::kStaySilent};
  }
  if (target == "/garbage") return Reply::Raw("SOMETHING ELSE ENTIRELY\r\n\r\nhello");
  if (target == "/reset") return Reply::Raw("", Reply::Then::kReset);
  if (target == "/long-header")
    return Reply::Ok("long", "X-Long: " + std::string(100 * 1024, 'l') + "\r\n");
  if (target == "/truncated") {
    return Reply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort");
  }
  if (target == "/bad-chunks") {
    return Reply::Raw(
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n");
  }
  return Reply::Http(404, "Not Found", "", "no such route");
}

}  // namespace zelmora::testing
