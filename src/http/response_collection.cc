#include "http/response_collection.h"

#include <string>

#include "http/cookie_merge.h"
#include "runtime/text_ops.h"
#include "runtime/text_search.h"
#include "text/text_slicing.h"

namespace zelmora {
namespace {

constexpr char kSetCookie[] = "Set-Cookie";
constexpr char kSetCookiePrefix[] = "Set-Cookie:";

// The cookie of one Set-Cookie line: up to its first ';', or the whole line
// less every "Set-Cookie:" when it has none.
Text CookieOfLine(const Text& line) {
  if (FindText(line, ";") != -1) return TrimBoth(TextBetween(line, kSetCookiePrefix, ";"));
  return TrimBoth(ReplaceText(line, kSetCookiePrefix, "", 1, -1, false));
}

}  // namespace

ByteSet CollectResponse(const AutomationObject& object, const ResponseTargets& targets) {
  ByteSet body = object.ResponseBody().value_or(ByteSet());
  *targets.returnedHeaders = object.GetAllResponseHeaders().value_or(Text());
  *targets.statusCode = object.Status().value_or(0);
  object.StatusText();  // read as the object expects; the text is not used
  *targets.returnedCookies = CollectReturnedCookies(*targets.returnedHeaders);
  if (targets.autoMergeCookies && targets.sentCookies != nullptr) {
    *targets.returnedCookies = MergeCookies(*targets.sentCookies, *targets.returnedCookies);
  }
  return body;
}

Text CollectReturnedCookies(const Text& returnedHeaders) {
  // Most responses set no cookie; only lines named "Set-Cookie" count.
  if (FindText(returnedHeaders, kSetCookie) == -1) return {};
  std::string cookies;
  for (const Text& line : SplitText(returnedHeaders, "\r\n")) {
    if (!TextEquals(TextBefore(line, ": "), kSetCookie)) continue;
    cookies += CookieOfLine(line).view();
    cookies += "; ";
  }
  if (cookies.ends_with("; ")) cookies.resize(cookies.size() - 2);
  return Text(std::move(cookies));
}

}  // namespace zelmora
