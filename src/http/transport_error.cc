#include "http/transport_error.h"

namespace zelmora {
namespace {

thread_local Text lastTransportError;

}  // namespace

const Text& LastTransportError() { return lastTransportError; }

void SetLastTransportError(Text reason) { lastTransportError = std::move(reason); }

}  // namespace zelmora
