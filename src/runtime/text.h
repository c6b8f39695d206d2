#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

// Positions are 1-based byte positions, -1 means "not found"; lengths and
// counts are in bytes or members.
using Position = std::int64_t;

// A byte string in code page 936. It never holds a zero byte: building one
// from bytes keeps what stands before the first zero byte. A byte of 80 hex
// or above and the byte after it form one double-byte character.
class Text {
 public:
  Text() = default;
  Text(const char* bytes) : Text(std::string_view(bytes == nullptr ? "" : bytes)) {}
  Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
  Text(std::string&& bytes) : bytes_(std::move(bytes)) { CutAtZero(); }
  Text(const std::string& bytes) : Text(std::string_view(bytes)) {}

  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  unsigned char byte(std::size_t offset) const {
    return static_cast<unsigned char>(bytes_[offset]);
  }

  // Appends the bytes of another text; both hold no zero byte, so neither does the result.
  Text& operator+=(const Text& other) {
    bytes_ += other.bytes_;
    return *this;
  }

  friend bool operator==(const Text&, const Text&) = default;

 private:
  void CutAtZero() {
    if (const auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
  }

  std::string bytes_;
};

// A counted sequence of bytes that may hold zero bytes: response bodies,
// request bodies, encoder input.
using ByteSet = std::vector<std::uint8_t>;

// A list of texts numbered from 1 that owns copies of its members.
using TextList = std::vector<Text>;

// Views a byte set as characters, for I/O and comparisons.
inline std::string_view AsChars(const ByteSet& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Copies characters into a byte set, zero bytes included.
inline ByteSet BytesOf(std::string_view chars) { return ByteSet(chars.begin(), chars.end()); }

}  // namespace zelmora
