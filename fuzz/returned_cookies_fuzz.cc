#include "fuzz/fuzz_input.h"
#include "http/response_collection.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const Text headers = input.NextText();
  const Text cookies = CollectReturnedCookies(headers);
  // Each cookie is a part of its line, and "; " takes no more room than the
  // line break it stands for.
  fuzz::Check(cookies.size() <= headers.size());
  return 0;
}
