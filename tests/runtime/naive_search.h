#pragma once

// Deliberately simple references for the character-walking operations: they
// find character starts by walking from the first byte every time.

#include <random>
#include <string>
#include <vector>

#include "runtime/text.h"

namespace zelmora::testing {

inline std::vector<bool> CharStarts(const std::string& text) {
  std::vector<bool> starts(text.size() + 1, false);
  std::size_t i = 0;
  while (i < text.size()) {
    starts[i] = true;
    i += (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
  }
  starts[text.size()] = true;
  return starts;
}

inline bool SameAt(const std::string& text, std::size_t at, const std::string& sought,
                   bool ignoreCase) {
  if (at + sought.size() > text.size()) return false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    unsigned char x = static_cast<unsigned char>(text[at + k]);
    unsigned char y = static_cast<unsigned char>(sought[k]);
    if (ignoreCase) {
      if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
      if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    }
    if (x != y) return false;
  }
  return true;
}

// 0-based offset of the first match at a character start at or after `from`, or npos.
inline std::size_t NaiveFind(const std::string& text, const std::string& sought, std::size_t from,
                             bool ignoreCase) {
  const std::vector<bool> starts = CharStarts(text);
  for (std::size_t i = from; i < text.size(); ++i) {
    if (starts[i] && SameAt(text, i, sought, ignoreCase)) return i;
  }
  return std::string::npos;
}

// Random text over a small alphabet rich in double-byte characters, lone lead
// bytes, letters of both cases and the bytes that markers are made of.
inline std::string RandomDoubleByteText(std::mt19937& random, std::size_t maxLength) {
  static const unsigned char kAlphabet[] = {'a',  'A',  'b',  'B',  ';',  ' ',  0x81,
                                            0x41, 0xA1, 0xB0, 0xD6, 0xD0, 0x80, 0xFE};
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
  std::string text(length(random), ' ');
  for (char& byte : text) byte = static_cast<char>(kAlphabet[pick(random)]);
  return text;
}

}  // namespace zelmora::testing
