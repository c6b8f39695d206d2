#pragma once

// The header text of a request: lines separated by CR LF, each normally a
// name, a colon and a value. These operations complete it with the default
// lines and capitalise its names; they only compute texts.

#include "runtime/text.h"

namespace zelmora {

// Method index of "POST" in WebRequest's method table.
inline constexpr int kPostMethodIndex = 1;

// The bytes of `line` before its first ':', trimmed of spaces; the empty
// text when it has no colon.
Text HeaderName(const Text& line);

// The bytes of `line` after its first ':', trimmed of spaces; the empty text
// when it has no colon.
Text HeaderValue(const Text& line);

// `text` with its first byte upper-cased when it is an ASCII lower-case
// letter; every other byte unchanged.
Text CapitalizeFirst(const Text& text);

// Appends each default line whose looked-for text ("Accept:", "Referer:",
// "Accept-Language:", "User-Agent:", and "Content-Type:" for a POST) stands
// nowhere in `headers`, in any letter case, as "\r\n" + the line. `headers`
// is the caller's variable and holds each addition at once. The Referer is
// `url`.
void CompleteHeaders(Text& headers, int methodIndex, const Text& url);

// The header text with the lines that hold no ':' dropped and, in the name
// of each other line (the bytes before its first ':'), the first byte and
// every byte right after a '-' upper-cased when it is an ASCII lower-case
// letter. The lines are joined by CR LF with none after the last; the empty
// text when no line has a colon. Linear in the length of `headers`.
Text NormalizeHeaderNames(const Text& headers);

}  // namespace zelmora
