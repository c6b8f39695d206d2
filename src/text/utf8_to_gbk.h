#pragma once

#include "runtime/text.h"

namespace zelmora {

// Converts a response body from UTF-8 to a text in code page 936, giving the
// same bytes as the system's UTF-8 decoder followed by its code page 936
// encoder with best fit on and no default character of the caller's:
// - characters the code page holds become their one or two bytes; those it
//   lacks become their best-fit equivalent (U+00C0 -> A8 A4) or, with no
//   such equivalent, "?" (U+00A0, U+FEFF, U+FFFD);
// - a character beyond U+FFFF becomes one "?" per UTF-16 unit, so two;
// - malformed UTF-8 becomes U+FFFD, and so "?": C0, C1, F5..FF and a stray
//   continuation byte one each; a lead byte whose next byte is no
//   continuation byte one, and that byte is read afresh; a lead byte and a
//   continuation byte outside the lead's range (E0 80, ED A0, F0 80, F4 90)
//   one for the two; a valid start of a sequence that stops before its end,
//   at a byte that is no continuation byte or at the end of the body, one;
// - a zero byte ends the text, because a text holds no zero byte.
// A leading byte-order mark is converted like any character (to "?").
// The body is only read; the result is never longer than the body. Runs in
// one pass, linear in the size of the body; safe on any input.
Text Utf8ToGbk(const ByteSet& body);

}  // namespace zelmora
