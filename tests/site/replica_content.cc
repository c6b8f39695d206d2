#include "site/replica_content.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "app/site_constants.h"
#include "site/mobile_page.h"

namespace zelmora::testing {
namespace {

constexpr std::string_view kTrackDirectory = "/playmc/";
constexpr std::string_view kTrackSuffix = ".html";
constexpr std::string_view kScriptDirectory = "/showmc/";
constexpr std::string_view kScriptSuffix = ".js";
constexpr std::string_view kStatusScenario = "status-";
constexpr std::string_view kDecoySuffix = "-decoy";

constexpr std::array kScenarios{
    Scenario{"1805197943", "the sample track; every id that names no scenario is a normal track"},
    Scenario{"status-NNN", "the track page answers status NNN (200 to 599) with a Location line"},
    Scenario{"no-location", "the track page answers 302 without a Location line"},
    Scenario{"content-location", "a Content-Location line stands before the Location line"},
    Scenario{"lowercase-location", "the Location line is written location:"},
    Scenario{"relative-location", "the Location line holds a path only"},
    Scenario{"reset", "the track page's connection is reset"},
    Scenario{"garbage", "the track page answers bytes that are no HTTP response"},
    Scenario{"silent", "the track page never answers"},
    Scenario{"h5srcur2-first", "a variable h5srcur2 stands before h5srcur"},
    Scenario{"two-showmc", "two /showmc/ scripts; the second holds a decoy host"},
    Scenario{"capital-showmc", "a /SHOWMC/ script before the /showmc/ one"},
    Scenario{"no-showmc", "no /showmc/ script on the page"},
    Scenario{"absolute-script", "the /showmc/ script's address is absolute"},
    Scenario{"attribute-order", "/showmc/ script elements written otherwise"},
    Scenario{"chinese-names", "Chinese characters in the h5srcur value and the media host prefix"},
    Scenario{"no-h5srcur", "the page assigns no h5srcur"},
    Scenario{"no-markers", "the page has no h5srcur, no script element and no apostrophe"},
    Scenario{"huge-page", "16 MiB of Chinese text before the page's content"},
    Scenario{"binary-page", "64 KiB of binary bytes, zero bytes included, instead of a page"},
    Scenario{"invalid-utf8", "invalid UTF-8 in the title and the h5srcur value"},
    Scenario{"zero-byte", "a zero byte between the h5srcur variable and the scripts"},
    Scenario{"truncated-page", "the page is shorter than its Content-Length"},
    Scenario{"page-redirect-loop", "the mobile page redirects to itself"},
    Scenario{"few-apostrophes", "the /showmc/ script holds one apostrophe only"},
    Scenario{"script-reset", "the script's connection is reset"},
};

constexpr char kPlainType[] = "Content-Type: text/plain; charset=utf-8\r\n";

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The Host header without a port, in lower case.
std::string RequestHost(const ReceivedRequest& request) {
  std::string host = Lower(request.Header("Host").value_or(""));
  if (const std::size_t colon = host.rfind(':'); colon != std::string::npos) host.resize(colon);
  return host;
}

// The path of the request target without its query.
std::string_view RequestPath(const ReceivedRequest& request) {
  std::string_view path = request.target;
  return path.substr(0, path.find('?'));
}

// The name between `directory` and `suffix` in `path`; empty when the path
// is not of that form.
std::string_view NameIn(std::string_view path, std::string_view directory,
                        std::string_view suffix) {
  if (!path.starts_with(directory) || !path.ends_with(suffix) ||
      path.size() <= directory.size() + suffix.size()) {
    return {};
  }
  const std::string_view name =
      path.substr(directory.size(), path.size() - directory.size() - suffix.size());
  return name.find('/') == std::string_view::npos ? name : std::string_view{};
}

std::string_view Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 307:
      return "Temporary Redirect";
    case 404:
      return "Not Found";
    default:
      return "Status";
  }
}

Reply NotFound() { return Reply::Http(404, "Not Found", kPlainType, "not found\n"); }

// The track page's answer; 204 and 304 carry no body.
Reply Redirect(int status, std::string_view locationLines) {
  const bool bodyless = status == 204 || status == 304;
  return Reply::Http(status, Reason(status),
                     std::string(locationLines) + "Content-Type: text/html; charset=utf-8\r\n",
                     bodyless ? "" : "<html><body>Object moved</body></html>\n");
}

// "status-NNN" with NNN from 200 to 599; 0 otherwise.
int ScenarioStatus(std::string_view id) {
  if (!id.starts_with(kStatusScenario)) return 0;
  const std::string_view digits = id.substr(kStatusScenario.size());
  int status = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), status);
  const bool whole = error == std::errc() && end == digits.data() + digits.size();
  return whole && status >= 200 && status <= 599 ? status : 0;
}

// Step 1: the desktop track page sends a mobile browser to the mobile page.
Reply DesktopReply(std::string_view id) {
  const std::string location = "Location: " + MobilePageAddress(id) + "\r\n";
  if (const int status = ScenarioStatus(id)) return Redirect(status, location);
  if (id == "no-location") return Redirect(302, "");
  if (id == "content-location") {
    return Redirect(302, "Content-Location: " + MobilePageAddress("content-location-target") +
                             "\r\n" + location);
  }
  if (id == "lowercase-location") {
    return Redirect(302, "location: " + MobilePageAddress(id) + "\r\n");
  }
  if (id == "relative-location") {
    return Redirect(302,
                    "Location: " + std::string(kTrackDirectory) + std::string(id) + ".html\r\n");
  }
  if (id == "reset") return Reply::Raw("", Reply::Then::kReset);
  if (id == "garbage") {
    return Reply::Raw("SSH-2.0-NotHttp\r\n\r\n\x01\x02\x03", Reply::Then::kClose);
  }
  if (id == "silent") return Reply::Silence();
  return Redirect(302, location);
}

// Step 3: the /showmc/ script names the media host between apostrophes.
Reply ScriptReply(std::string_view name) {
  if (name == "script-reset") return Reply::Raw("", Reply::Then::kReset);
  std::string prefix = kMediaPrefix;
  if (name == "chinese-names") prefix = "http://media.zelmora.example/音乐/";
  if (name.ends_with(kDecoySuffix)) prefix = "http://decoy.zelmora.example/wrong/";
  std::string script = "// 播放器设置\n";
  if (name == "few-apostrophes") {
    script += "// the player's address\nvar playurl = \"" + prefix + "\";\n";
  } else {
    script += "var playurl = '" + prefix + "';\n";
  }
  script += "var player = new H5Player({src: playurl + h5srcur, autoplay: false});\n";
  return Reply::Http(200, "OK", "Content-Type: application/javascript; charset=utf-8\r\n", script);
}

}  // namespace

std::string MobileHost() {
  const std::string_view origin = kMobileOrigin;
  const std::size_t scheme = origin.find("://");
  return Lower(scheme == std::string_view::npos ? origin : origin.substr(scheme + 3));
}

std::string TrackAddress(std::string_view id) {
  return "https://" + std::string(kDesktopHost) + std::string(kTrackDirectory) + std::string(id) +
         std::string(kTrackSuffix);
}

std::string MobilePageAddress(std::string_view id) {
  return std::string(kMobileOrigin) + std::string(kTrackDirectory) + std::string(id) +
         std::string(kTrackSuffix);
}

std::string ScriptPath(std::string_view name) {
  return std::string(kScriptDirectory) + std::string(name) + std::string(kScriptSuffix);
}

std::string ScriptAddress(std::string_view name) { return kMobileOrigin + ScriptPath(name); }

std::string NormalH5srcur(std::string_view id) { return "music/" + std::string(id) + ".mp3"; }

std::string MediaAddress(std::string_view id) { return kMediaPrefix + NormalH5srcur(id); }

std::span<const Scenario> Scenarios() { return kScenarios; }

Reply SiteReply(const ReceivedRequest& request) {
  if (request.method != "GET") {
    return Reply::Raw("HTTP/1.1 405 Method Not Allowed\r\nAllow: GET\r\nContent-Length: 0\r\n\r\n");
  }
  const std::string host = RequestHost(request);
  const std::string_view path = RequestPath(request);
  if (host == Lower(kDesktopHost)) {
    if (const std::string_view id = NameIn(path, kTrackDirectory, kTrackSuffix); !id.empty()) {
      return DesktopReply(id);
    }
  } else if (host == MobileHost()) {
    if (const std::string_view id = NameIn(path, kTrackDirectory, kTrackSuffix); !id.empty()) {
      return MobilePageReply(id);
    }
    if (const std::string_view name = NameIn(path, kScriptDirectory, kScriptSuffix);
        !name.empty()) {
      return ScriptReply(name);
    }
  }
  return NotFound();
}

}  // namespace zelmora::testing
