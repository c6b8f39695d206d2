#pragma once

#include "runtime/text.h"

namespace zelmora {

// The quote placeholder "#引号" in code page 936 (23 D2 FD BA C5). Inside the
// markers given to TextBetween it stands for one double quote, so a marker
// holding a double quote can be written without typing one.
inline constexpr char kQuotePlaceholder[] = "\x23\xD2\xFD\xBA\xC5";

// Byte-wise search that ignores character boundaries: the position of the
// first occurrence of `sought` that begins at or after `startPosition`
// (0 counts as 1), or -1. -1 for an empty `source` or `sought`, and for a
// start below 0 or past the end. With `ignoreCase`, every byte from A to Z
// matches its lower-case form, second bytes of double-byte characters too.
Position FindTextFrom(const Text& source, const Text& sought, Position startPosition = 0,
                      bool ignoreCase = false);

// The bytes of `source` in front of the first `separator` found at or after
// `startPosition` (below 1 counts as 1); the piece always begins at position
// 1. The empty text when the separator is not found or is empty.
Text TextBefore(const Text& source, const Text& separator, Position startPosition = 1,
                bool ignoreCase = false);

// The bytes between the first `leftMarker` at or after `startPosition` and the
// first `rightMarker` after it; the empty text when either is missing. The
// quote placeholder in either marker stands for a double quote.
Text TextBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 Position startPosition = 1, bool ignoreCase = false);

}  // namespace zelmora
