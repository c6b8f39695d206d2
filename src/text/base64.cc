#include "text/base64.h"

#include "runtime/bytes.h"

namespace zelmora {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

Text Base64Encode(ByteSet& data) {
  const Position length = BytesLength(data);
  if (length < 1) return {};
  const Position remainder = length % 3;
  // The caller's byte set is padded with zero bytes to whole groups of three.
  if (remainder > 0) data = ConcatBytes({data, BlankBytes(3 - remainder)});
  std::string out;
  out.reserve(data.size() / 3 * 4);
  for (std::size_t i = 0; i < data.size(); i += 3) {
    const unsigned b0 = data[i], b1 = data[i + 1], b2 = data[i + 2];
    out += kAlphabet[b0 >> 2];
    out += kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
    out += kAlphabet[((b1 & 15) << 2) | (b2 >> 6)];
    out += kAlphabet[b2 & 63];
  }
  if (remainder == 1) out.replace(out.size() - 2, 2, "==");
  if (remainder == 2) out.back() = '=';
  return Text(std::move(out));
}

}  // namespace zelmora
