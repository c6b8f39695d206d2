#pragma once

#include <initializer_list>

#include "runtime/text.h"

namespace zelmora {

// The bytes of a text, without a terminating zero.
ByteSet ToBytes(const Text& text);
// The bytes before the first zero byte, all of them when there is none.
Text ToText(const ByteSet& bytes);
// Number of bytes.
Position BytesLength(const ByteSet& bytes);
// Up to n bytes from byte `start` (1-based), clipped to the set.
ByteSet BytesMid(const ByteSet& bytes, Position start, Position n);
// n zero bytes; empty for n < 1.
ByteSet BlankBytes(Position n);
// All parts joined in order.
ByteSet ConcatBytes(std::initializer_list<ByteSet> parts);
// Same length and bytes.
bool BytesEqual(const ByteSet& a, const ByteSet& b);
// Byte `index` (1-based) as 0 to 255. An index outside the set stops the
// program (see runtime/stop.h); no input of the program reaches that.
int ByteAt(const ByteSet& bytes, Position index);

}  // namespace zelmora
