#pragma once

#include "runtime/text.h"

namespace zelmora {

// These operations walk characters: a match is tried only where a character
// begins, never on the second byte of a double-byte character. Ignoring case
// folds only A to Z onto a to z. All run in time linear in the text.

// Position of the first occurrence of `sought` at or after byte `start`, or -1.
// A start below 1 counts as 1; past the last byte gives -1. An empty `sought`
// gives 1 when a byte lies at or after `start`, else -1.
Position FindText(const Text& text, const Text& sought, Position start = 1,
                  bool ignoreCase = false);

// Replaces occurrences of `sought` from byte `start` on, left to right without
// overlap; replacements are not searched again. A negative `count` replaces
// all, otherwise at most `count`. No change when `text` or `sought` is empty,
// `start` is past the end or `count` is 0. Letter case is ignored unless
// `caseSensitive` is true.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = {},
                 Position start = 1, Position count = -1, bool caseSensitive = false);

// The pieces between exact separators, in order. Empty pieces stay, but a
// final separator adds none; the empty text gives no pieces; an empty
// separator gives the whole text as one piece. With `maxPieces` of 1 or more,
// pieces past that many are dropped; below 1 there is no limit.
TextList SplitText(const Text& text, const Text& separator = ",", Position maxPieces = 0);

}  // namespace zelmora
