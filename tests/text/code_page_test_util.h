#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Helpers shared by the code page conversion tests.
namespace zelmora::testing {

// Bytes written as hex pairs, spaces between them allowed: "E4 BD A0".
inline std::string HexBytes(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); ++i) {
    if (hex[i] == ' ') continue;
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    ++i;
  }
  return bytes;
}

// The parts one after the other.
inline std::string Join(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (const std::string_view part : parts) joined.append(part);
  return joined;
}

// The bytes again as "E4 BD A0", for readable failure messages.
inline std::string ToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (!hex.empty()) hex += ' ';
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

// UTF-8 of a code point up to U+10FFFF (surrogates included, for tests of
// malformed input).
inline std::string Utf8Of(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

}  // namespace zelmora::testing
