#include "support/http_wire.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zelmora::testing {
namespace {

constexpr std::size_t kMaxHead = 1 << 20;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool ParseHead(std::string_view head, ReceivedRequest& request) {
  std::size_t lineEnd = head.find("\r\n");
  const std::string_view requestLine = head.substr(0, lineEnd);
  const std::size_t first = requestLine.find(' ');
  const std::size_t second = requestLine.rfind(' ');
  if (first == std::string_view::npos || second == first) return false;
  request.method = requestLine.substr(0, first);
  request.target = requestLine.substr(first + 1, second - first - 1);
  request.version = requestLine.substr(second + 1);
  while (lineEnd != std::string_view::npos && lineEnd + 2 < head.size()) {
    const std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string_view line = head.substr(start, lineEnd - start);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
  }
  return true;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::optional<std::string> ReceivedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsIgnoringCase(key, name)) return value;
  }
  return std::nullopt;
}

int ReceivedRequest::CountHeader(std::string_view name) const {
  return static_cast<int>(std::count_if(headers.begin(), headers.end(), [&](const auto& h) {
    return EqualsIgnoringCase(h.first, name);
  }));
}

bool RequestReader::Fill() {
  char chunk[16384];
  const std::size_t got = stream_.Read(chunk, sizeof chunk);
  buffer_.append(chunk, got);
  return got > 0;
}

std::optional<ReceivedRequest> RequestReader::Next() {
  std::size_t headEnd;
  while ((headEnd = buffer_.find("\r\n\r\n")) == std::string::npos) {
    if (buffer_.size() > kMaxHead || !Fill()) return std::nullopt;
  }
  ReceivedRequest request;
  request.head = buffer_.substr(0, headEnd + 4);
  if (!ParseHead(std::string_view(buffer_).substr(0, headEnd), request)) return std::nullopt;
  buffer_.erase(0, headEnd + 4);
  std::size_t length = 0;
  if (const auto value = request.Header("Content-Length")) {
    std::from_chars(value->data(), value->data() + value->size(), length);
  }
  while (buffer_.size() < length) {
    if (!Fill()) return std::nullopt;
  }
  request.body = buffer_.substr(0, length);
  buffer_.erase(0, length);
  return request;
}

}  // namespace zelmora::testing
