#pragma once

// How zelmora-cli tells the outcome of one run: a plain line, a JSON object,
// and the reason when a URL gave no media address.

#include <optional>
#include <string>

#include "app/resolve_workflow.h"

namespace zelmora::cli {

// The media address in UTF-8; empty when the run ended early or found nothing.
std::string MediaLine(const ResolveReport& report);

// Why the run gave no media address; nothing when it gave one.
std::optional<std::string> FailureReason(const ResolveReport& report);

// Where the run ended: "done", "empty-address", "request-failed" (no
// response to the first request) or "not-redirected".
const char* StageName(const ResolveReport& report);

// One JSON object on one line, with the keys url, media, status, location,
// h5srcur, script, stage and error. Values the run never reached are null.
std::string JsonLine(const std::string& url, const ResolveReport& report);

}  // namespace zelmora::cli
