#pragma once

#include <cstddef>
#include <string_view>

namespace zelmora {

// Offset of the first occurrence of `needle` in `haystack` at or after `from`,
// or npos; byte-wise, blind to characters. Linear in the haystack where the C
// library offers a linear search (glibc's memmem), vectorised there too.
std::size_t FindBytes(std::string_view haystack, std::string_view needle, std::size_t from);

}  // namespace zelmora
