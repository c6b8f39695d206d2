#include "runtime/byte_search.h"

#include <cstring>

namespace zelmora {

std::size_t FindBytes(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (from > haystack.size()) return std::string_view::npos;
  if (needle.size() == 1) return haystack.find(needle[0], from);  // memchr
#ifdef __GLIBC__
  const void* hit =
      memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
  if (hit == nullptr) return std::string_view::npos;
  return static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
#else
  return haystack.find(needle, from);
#endif
}

}  // namespace zelmora
