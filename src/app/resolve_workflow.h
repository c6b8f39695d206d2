#pragma once

// The resolve workflow: turns the track-page address of the address box into
// the media address that it writes into the result box, with three requests
// that all carry the mobile User-Agent line.

#include "runtime/text.h"

namespace zelmora {

// The header line that every run starts from: an iPhone browser's User-Agent.
inline constexpr char kMobileUserAgentLine[] =
    "User-Agent: Mozilla/5.0 (iPhone; CPU iPhone OS 11_0 like Mac OS X) "
    "AppleWebKit/604.1.38 (KHTML, like Gecko) Version/11.0 Mobile/15A372 Safari/604.1";

// What the workflow needs of a front end. Both calls run on the thread that
// runs the workflow.
class ResolveView {
 public:
  virtual ~ResolveView() = default;
  // The address box's current content in code page 936, exactly as shown.
  virtual Text ReadAddress() = 0;
  // Replaces the result box's whole content, although the user cannot edit it.
  virtual void WriteResult(const Text& result) = 0;
};

// Where a run ended.
enum class ResolveStage {
  kEmptyAddress,   // the address box was empty: no request was made
  kNotRedirected,  // the first response's status was not 302
  kDone,           // the result was written, possibly empty
};

// What happened in a run, for front ends that report it; the window ignores it.
struct ResolveReport {
  ResolveStage stage = ResolveStage::kEmptyAddress;
  Text address;          // the first address
  int firstStatus = 0;   // status of the first response; 0 when none arrived
  Text firstError;       // why the first request got no response, when it got none
  Text location;         // the redirect target taken from the first response
  int pageStatus = 0;    // status of the mobile page's response
  Text pageError;        // why the page request got no response, when it got none
  Text h5srcur;          // the page's h5srcur value
  Text scriptAddress;    // the third address: the /showmc/ script, else the location
  int scriptStatus = 0;  // status of the third response
  Text scriptError;      // why the third request got no response, when it got none
  Text head;             // the script's first apostrophe-quoted text
  Text result;           // what was written into the result box
};

// How the requests travel. The window uses the defaults: no proxy and the
// request function's own 15-second timeouts.
struct ResolveSettings {
  Text proxyAddress;  // "host:port"; empty: direct
  Text proxyUser;     // Basic credentials for the proxy, sent to the proxy only
  Text proxyPassword;
  int timeoutSeconds = 0;  // 0: 15 seconds
};

// One run of the workflow, started by a click of the resolve button.
// `headers` is the caller's header variable: every run resets it to the
// mobile User-Agent line, and the first request leaves the completed header
// text in it, which the later requests send unchanged. The window passes its
// global, so a run nested inside this one (a click dispatched while the page
// is searched) changes what this run's last request sends.
ResolveReport OnParseClicked(ResolveView& view, Text& headers,
                             const ResolveSettings& settings = {});

}  // namespace zelmora
