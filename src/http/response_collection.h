#pragma once

// Reading the response from the request object after Send, and the cookies
// that the response set.

#include "http/request_object.h"
#include "runtime/text.h"

namespace zelmora {

// Where the response goes. Every pointer refers to the caller's variable.
struct ResponseTargets {
  Text* returnedHeaders = nullptr;  // out, required
  int* statusCode = nullptr;        // out, required
  Text* returnedCookies = nullptr;  // out, required
  Text* sentCookies = nullptr;      // in/out; null: not given, no merge
  bool autoMergeCookies = true;     // merge when sentCookies is given
};

// Reads the body (the result), the header lines, the status and the status
// text from `object`; a failed read gives its empty value. Then collects the
// returned cookies and merges them with the sent cookies when asked.
ByteSet CollectResponse(const AutomationObject& object, const ResponseTargets& targets);

// The first segments of the lines named exactly "Set-Cookie" (before their
// first ": "), trimmed, in order, separated by "; ". Linear in the length of
// `returnedHeaders`.
Text CollectReturnedCookies(const Text& returnedHeaders);

}  // namespace zelmora
