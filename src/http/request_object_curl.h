#pragma once

// The request object on libcurl, for Linux. It registers itself as the
// backend for kRequestObjectProgId; this header only lets tests and tools
// make objects with settings of their own. No curl type appears here.

#include <cstddef>
#include <string>

#include "http/request_object.h"

namespace zelmora {

struct CurlBackendSettings {
  // A response body longer than this ends the request as a failure.
  std::size_t maxBodyBytes = std::size_t{256} << 20;
  // The response header lines of one response may hold at most this many
  // bytes; more ends the request as a failure.
  std::size_t maxHeaderBytes = std::size_t{1} << 20;
  // PEM certificates of the only authorities to trust instead of the
  // system's; empty: the system's.
  std::string trustedCertificatesPem;
};

// A new request object with `settings`.
AutomationObject CreateCurlRequestObject(const CurlBackendSettings& settings = {});

}  // namespace zelmora
