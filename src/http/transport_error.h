#pragma once

// Why the last exchange of the calling thread got no response, for front
// ends that tell their user (the command-line tool's diagnostics). The
// request function itself reports failures only by its empty results.

#include "runtime/text.h"

namespace zelmora {

// A short reason in words ("Could not resolve host: x", "Connection refused",
// "response body over the size limit"); empty when the last exchange on this
// thread got a response, or when none was made.
const Text& LastTransportError();

// Backends call this when an exchange fails; WebRequest clears it before each
// exchange.
void SetLastTransportError(Text reason);

}  // namespace zelmora
