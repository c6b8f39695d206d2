#include "fuzz/fuzz_input.h"
#include "http/request_headers.h"

using namespace zelmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const int methodIndex = static_cast<int>(input.SmallNumber());
  const Text url = input.NextText();
  Text headers = input.NextText();
  const Text normalized = NormalizeHeaderNames(headers);
  fuzz::Check(normalized.size() <= headers.size());
  fuzz::Check(NormalizeHeaderNames(normalized) == normalized);
  fuzz::Check(!normalized.view().starts_with("\r\n"));
  HeaderName(headers);
  HeaderValue(headers);
  CapitalizeFirst(headers);
  // Completion only appends, and a completed text needs no more lines.
  const Text before = headers;
  CompleteHeaders(headers, methodIndex, url);
  fuzz::Check(headers.view().starts_with(before.view()));
  const Text completed = headers;
  CompleteHeaders(headers, methodIndex, url);
  fuzz::Check(headers == completed);
  return 0;
}
