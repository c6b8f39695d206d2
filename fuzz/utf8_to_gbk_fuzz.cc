// Feeds arbitrary bytes to Utf8ToGbk and checks what the conversions
// guarantee: the text is never longer than the body, and a converted text
// comes back unchanged from GbkToUtf8 and Utf8ToGbk, because it holds only
// characters of the code page. The same bytes read as code page 936 text
// and converted there and back give a text that is stable from then on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "text/gbk_to_utf8.h"
#include "text/utf8_to_gbk.h"

namespace {

zelmora::Text RoundTrip(const zelmora::Text& text) {
  return zelmora::Utf8ToGbk(zelmora::BytesOf(zelmora::GbkToUtf8(text.view())));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const zelmora::ByteSet body(data, data + size);
  const zelmora::Text text = zelmora::Utf8ToGbk(body);
  if (text.size() > size) std::abort();
  if (RoundTrip(text) != text) std::abort();

  const std::string_view as_gbk(reinterpret_cast<const char*>(data), size);
  const zelmora::Text cleaned = zelmora::Utf8ToGbk(zelmora::BytesOf(zelmora::GbkToUtf8(as_gbk)));
  if (RoundTrip(cleaned) != cleaned) std::abort();
  return 0;
}
