#pragma once

#include <initializer_list>

#include "runtime/text.h"

namespace zelmora {

// Number of bytes.
Position TextLength(const Text& text);
// The first / last min(n, length) bytes; n <= 0 gives the empty text.
Text TextLeft(const Text& text, Position n);
Text TextRight(const Text& text, Position n);
// Up to n bytes from byte `start`; start < 1, start > length or n <= 0 give the empty text.
Text TextMid(const Text& text, Position start, Position n);
// The first byte as a signed 8-bit number; 0 for the empty text.
int CharCode(const Text& text);

// Without leading and trailing spaces: byte 20 hex and the ideographic space
// A1 A1 (as a whole character); tab, CR and LF are not spaces.
Text TrimBoth(const Text& text);
// The same trimming as a view into the caller's bytes, for callers that cut
// further without copying.
std::string_view TrimmedView(std::string_view text);
// Without any such space.
Text RemoveSpaces(const Text& text);
// a to z become A to Z, except in the second byte of a double-byte character.
Text ToUpper(const Text& text);

// Same bytes, letter case counts.
bool TextEquals(const Text& a, const Text& b);
// All parts joined in order.
Text ConcatText(std::initializer_list<Text> parts);
// n bytes 20 hex; empty for n < 1.
Text BlankText(Position n);

}  // namespace zelmora
