#include <algorithm>

#include "fuzz/fuzz_input.h"
#include "text/base64.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteSet bytes(data, data + size);
  const Text encoded = Base64Encode(bytes);
  fuzz::Check(encoded.size() == (size + 2) / 3 * 4);
  fuzz::Check(bytes.size() == (size + 2) / 3 * 3);
  fuzz::Check(std::equal(data, data + size, bytes.begin()));
  for (std::size_t i = size; i < bytes.size(); ++i) fuzz::Check(bytes[i] == 0);
  return 0;
}
