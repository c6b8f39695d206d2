#pragma once

// Helpers shared by the tests that run the workflow against the replica.

#include <string>
#include <string_view>
#include <vector>

#include "app/resolve_workflow.h"
#include "app/site_constants.h"
#include "site/replica_content.h"
#include "support/http_wire.h"

namespace zelmora::testing {

// The header text that the first request leaves in the header variable: the
// mobile User-Agent line completed with the first address as Referer.
inline std::string CompletedHeaders(std::string_view firstAddress) {
  return std::string(kMobileUserAgentLine) +
         "\r\nAccept: */*\r\nReferer: " + std::string(firstAddress) + "\r\nAccept-Language: zh-cn";
}

// The User-Agent value that every request of a run sends.
inline std::string MobileUserAgent() {
  constexpr std::string_view kName = "User-Agent: ";
  return std::string(std::string_view(kMobileUserAgentLine).substr(kName.size()));
}

// "<host> <path>" for each request the replica read, to compare with a list.
inline std::vector<std::string> HostsAndPaths(const std::vector<ReceivedRequest>& requests) {
  std::vector<std::string> seen;
  for (const ReceivedRequest& request : requests) {
    seen.push_back(request.Header("Host").value_or("?") + " " + request.target);
  }
  return seen;
}

// The entries of HostsAndPaths for the three kinds of request.
inline std::string DesktopRequest(std::string_view id) {
  return std::string(kDesktopHost) + " /playmc/" + std::string(id) + ".html";
}
inline std::string PageRequest(std::string_view id) {
  return MobileHost() + " /playmc/" + std::string(id) + ".html";
}
inline std::string ScriptRequest(std::string_view name) {
  return MobileHost() + " " + ScriptPath(name);
}

}  // namespace zelmora::testing
