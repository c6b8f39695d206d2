#pragma once

#include <cstdint>

// Code page 936 (GBK) as the system's converters use it, generated from the
// published best-fit table by tools/gen_cp936_table.py into cp936_table.cc.
namespace zelmora::cp936 {

// Marks "no character" in the decoding tables; U+FFFF is not a character,
// so no real entry holds it.
inline constexpr std::uint16_t kNoChar = 0xFFFF;

// The byte written for a UTF-16 unit the code page cannot represent.
inline constexpr char kDefaultChar = '?';

inline constexpr unsigned kLeadFirst = 0x81;
inline constexpr unsigned kLeadLast = 0xFE;
inline constexpr unsigned kTrailFirst = 0x40;
inline constexpr unsigned kTrailLast = 0xFE;
inline constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;

inline constexpr unsigned kBlockBits = 6;
inline constexpr unsigned kEncodeIndexSize = 0x10000 >> kBlockBits;
inline constexpr unsigned kDecodeDoubleSize = (kLeadLast - kLeadFirst + 1) * kTrailCount;

// UTF-16 unit -> code page bytes: block kEncodeIndex[unit >> kBlockBits] of
// kEncodeBlocks (blocks of 1 << kBlockBits entries, identical ones shared).
extern const std::uint16_t kEncodeIndex[kEncodeIndexSize];
extern const std::uint16_t kEncodeBlocks[];
// Byte -> Unicode for single-byte characters; kNoChar for lead bytes.
extern const std::uint16_t kDecodeSingle[256];
// (lead, trail) -> Unicode at (lead - kLeadFirst) * kTrailCount + trail - kTrailFirst.
extern const std::uint16_t kDecodeDouble[kDecodeDoubleSize];

// The bytes that the system's converter writes for one UTF-16 unit with best
// fit on: a value below 0x100 is one byte, any other value is the lead byte
// (high 8 bits) followed by the trail byte. Units without a mapping, every
// surrogate among them, give kDefaultChar. U+0000 gives the byte 00.
inline std::uint16_t EncodeUnit(char16_t unit) {
  return kEncodeBlocks[(kEncodeIndex[unit >> kBlockBits] << kBlockBits) |
                       (unit & ((1u << kBlockBits) - 1))];
}

inline bool IsLeadByte(unsigned byte) { return byte >= kLeadFirst && byte <= kLeadLast; }

// The character of a single byte, or kNoChar when the byte is a lead byte.
inline std::uint16_t DecodeSingle(std::uint8_t byte) { return kDecodeSingle[byte]; }

// The character of a lead byte followed by `trail`, or kNoChar when the pair
// is not a character of the code page. `lead` must be a lead byte.
inline std::uint16_t DecodePair(std::uint8_t lead, std::uint8_t trail) {
  if (trail < kTrailFirst || trail > kTrailLast) return kNoChar;
  return kDecodeDouble[(lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst)];
}

}  // namespace zelmora::cp936
