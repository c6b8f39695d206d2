#pragma once

// The music site's content as the replica serves it: the desktop track page
// that redirects to the mobile page, the mobile page with its h5srcur value
// and script elements, and the /showmc/ script that holds the media host.
// The track id in the address picks a scenario; an id that names none (the
// sample's 1805197943, any number) is a normal track.

#include <span>
#include <string>
#include <string_view>

#include "support/http_wire.h"
#include "support/loopback_server.h"

namespace zelmora::testing {

// The id of the sample track-page address that the window shows at start-up.
inline constexpr char kSampleTrackId[] = "1805197943";
// The media host prefix that a normal /showmc/ script holds between apostrophes.
inline constexpr char kMediaPrefix[] = "http://media.zelmora.example/mp3/";
// The first apostrophe-quoted text of every mobile page (inside an inline
// script), which becomes the head when the page itself is fetched as the script.
inline constexpr char kPageHead[] = "page-head/";

// The site's mobile host: the mobile origin without its scheme.
std::string MobileHost();
// "https://<desktop host>/playmc/<id>.html": what a user pastes.
std::string TrackAddress(std::string_view id);
// "<mobile origin>/playmc/<id>.html": where the track page redirects.
std::string MobilePageAddress(std::string_view id);
// "/showmc/<name>.js" and the same joined to the mobile origin.
std::string ScriptPath(std::string_view name);
std::string ScriptAddress(std::string_view name);
// The h5srcur value of a normal track's mobile page: "music/<id>.mp3".
std::string NormalH5srcur(std::string_view id);
// A normal track's media address: kMediaPrefix followed by its h5srcur value.
std::string MediaAddress(std::string_view id);

// One scenario: the track id that selects it and what it does.
struct Scenario {
  std::string_view id;
  std::string_view what;
};

// Every named scenario, in a stable order (for help texts and the tests).
std::span<const Scenario> Scenarios();

// The answer to one request, chosen by its Host header (any letter case, a
// port ignored) and its path: the desktop host's /playmc/<id>.html, the
// mobile host's /playmc/<id>.html and /showmc/<name>.js; 404 for anything
// else. Safe to call from several threads at once.
Reply SiteReply(const ReceivedRequest& request);

}  // namespace zelmora::testing
