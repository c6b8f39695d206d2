#include "runtime/bytes.h"

#include <algorithm>

#include "runtime/stop.h"

namespace zelmora {

ByteSet ToBytes(const Text& text) { return BytesOf(text.view()); }

Text ToText(const ByteSet& bytes) { return Text(AsChars(bytes)); }

Position BytesLength(const ByteSet& bytes) { return static_cast<Position>(bytes.size()); }

ByteSet BytesMid(const ByteSet& bytes, Position start, Position n) {
  const Position first = std::max<Position>(start, 1);
  const Position last = std::min<Position>(start + n - 1, BytesLength(bytes));  // inclusive
  if (n <= 0 || first > last) return {};
  return ByteSet(bytes.begin() + (first - 1), bytes.begin() + last);
}

ByteSet BlankBytes(Position n) {
  return n < 1 ? ByteSet() : ByteSet(static_cast<std::size_t>(n), 0);
}

ByteSet ConcatBytes(std::initializer_list<ByteSet> parts) {
  ByteSet joined;
  for (const ByteSet& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

bool BytesEqual(const ByteSet& a, const ByteSet& b) { return a == b; }

int ByteAt(const ByteSet& bytes, Position index) {
  GuardIndex(index, BytesLength(bytes));
  return bytes[static_cast<std::size_t>(index - 1)];
}

}  // namespace zelmora
