#include "app/resolve_workflow.h"

#include "app/site_constants.h"
#include "http/transport_error.h"
#include "http/web_request.h"
#include "runtime/text_list.h"
#include "runtime/text_ops.h"
#include "text/collect_between.h"
#include "text/text_slicing.h"
#include "text/utf8_to_gbk.h"

namespace zelmora {
namespace {

constexpr int kRedirectStatus = 302;
constexpr char kScriptLeftMarker[] = "<script type=\"text/javascript\" src=\"";
constexpr char kScriptRightMarker[] = "\"></script>";
constexpr char kScriptDirectory[] = "/showmc/";

WebRequestOptions RequestOptions(Text& headers, const ResolveSettings& settings, int* status) {
  return {.extraHeaders = &headers,
          .statusCode = status,
          .proxyAddress = settings.proxyAddress,
          .timeoutSeconds = settings.timeoutSeconds,
          .proxyUser = settings.proxyUser,
          .proxyPassword = settings.proxyPassword};
}

// The first script address in page order that lies in the script directory,
// joined to the mobile origin; the location when there is none.
Text ThirdAddress(const TextList& scripts, const Text& location) {
  const Position count = ListCount(scripts);
  for (Position i = 1; i <= count; ++i) {
    const Text& script = ListItem(scripts, i);
    if (FindTextFrom(script, kScriptDirectory) != -1) return ConcatText({kMobileOrigin, script});
  }
  return location;
}

}  // namespace

ResolveReport OnParseClicked(ResolveView& view, Text& headers, const ResolveSettings& settings) {
  ResolveReport report;
  headers = kMobileUserAgentLine;
  report.address = view.ReadAddress();
  if (report.address.empty()) return report;

  // Request 1: the track page, not following the redirect to learn its target.
  Text responseHeaders;
  WebRequestOptions first = RequestOptions(headers, settings, &report.firstStatus);
  first.returnedHeaders = &responseHeaders;
  first.disableRedirects = true;
  WebRequest(report.address, first);
  report.firstError = LastTransportError();
  if (report.firstStatus != kRedirectStatus) {
    report.stage = ResolveStage::kNotRedirected;
    return report;
  }
  report.location = TextBetween(responseHeaders, "Location: ", "\r\n");

  // Request 2: the mobile page, its h5srcur value and its script addresses.
  const Text page =
      Utf8ToGbk(WebRequest(report.location, RequestOptions(headers, settings, &report.pageStatus)));
  report.pageError = LastTransportError();
  report.h5srcur = TextBetween(TextBetween(page, "var h5srcur", ";"), "\"", "\"");
  TextList scripts;
  CollectBetween(page, kScriptLeftMarker, kScriptRightMarker, scripts);  // its count is not used
  report.scriptAddress = ThirdAddress(scripts, report.location);

  // Request 3: the script, whose first apostrophe-quoted text heads the result.
  const Text script = Utf8ToGbk(
      WebRequest(report.scriptAddress, RequestOptions(headers, settings, &report.scriptStatus)));
  report.scriptError = LastTransportError();
  report.head = TextBetween(script, "'", "'");
  report.result = ConcatText({report.head, report.h5srcur});
  view.WriteResult(report.result);
  report.stage = ResolveStage::kDone;
  return report;
}

}  // namespace zelmora
