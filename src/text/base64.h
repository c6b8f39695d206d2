#pragma once

#include "runtime/text.h"

namespace zelmora {

// Standard Base64 (RFC 4648, section 4) with "=" padding and no line breaks.
// When the length of `data` is not a multiple of three, the caller's byte set
// is replaced by its copy padded with zero bytes to the next multiple.
Text Base64Encode(ByteSet& data);

}  // namespace zelmora
