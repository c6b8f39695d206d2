#include "text/gbk_to_utf8.h"

#include <cstdint>

#include "text/cp936_table.h"

namespace zelmora {
namespace {

void AppendUtf8(std::string& out, std::uint16_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  // Most characters are double-byte ones of three UTF-8 bytes.
  out.reserve(gbk.size() + gbk.size() / 2);
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(gbk[i]);
    std::uint16_t code = cp936::DecodeSingle(byte);
    if (cp936::IsLeadByte(byte)) {
      code = i + 1 < gbk.size() ? cp936::DecodePair(byte, static_cast<std::uint8_t>(gbk[i + 1]))
                                : cp936::kNoChar;
      if (code != cp936::kNoChar) ++i;
    }
    AppendUtf8(out, code == cp936::kNoChar ? std::uint16_t{'?'} : code);
  }
  return out;
}

}  // namespace zelmora
