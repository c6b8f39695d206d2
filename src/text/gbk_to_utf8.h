#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// Converts code page 936 bytes to UTF-8 for display, character by character
// as the system's code page 936 decoder does:
// - bytes 00..7F are ASCII; byte 80 is U+20AC and byte FF is U+F8F5;
// - a lead byte (81..FE) and a trail byte (40..7E, 80..FE) form one
//   double-byte character, which becomes its Unicode character;
// - a lead byte followed by any other byte, or standing last, becomes "?"
//   on its own, and the byte after it is read afresh, so a stray lead byte
//   never swallows the ASCII character that follows it.
// Zero bytes are kept. The result is always valid UTF-8 and holds no
// character beyond U+FFFF. Linear in the input; safe on any input.
std::string GbkToUtf8(std::string_view gbk);

}  // namespace zelmora
