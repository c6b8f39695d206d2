#pragma once

// Process-wide host mappings: a request for HOST:PORT connects to
// CONNECT_HOST:CONNECT_PORT instead, while its address, its Host header and
// its certificate check keep the original host. The command-line tool and
// the tests of the whole application use them to send the site's requests
// to a local server.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

struct HostMapping {
  std::string host;         // empty: any host
  std::string port;         // empty: any port
  std::string connectHost;  // empty: the request's own host
  std::string connectPort;  // empty: the request's own port
};

// Parses "HOST:PORT:CONNECT_HOST:CONNECT_PORT". A host may be an IPv6
// address in brackets. Nothing when the text has not four fields, a port is
// not a number from 1 to 65535 (or empty), or a host holds a space, a
// control character or a comma.
std::optional<HostMapping> ParseHostMapping(std::string_view text);

// The text form that ParseHostMapping reads.
std::string FormatHostMapping(const HostMapping& mapping);

// Replaces the mappings of the process. Meant to be called once at start-up;
// safe at any time, requests already running keep the mappings they read.
void SetHostMappings(std::vector<HostMapping> mappings);

// The current mappings, in the order given; the first that matches applies.
// Safe to call from any thread.
std::shared_ptr<const std::vector<HostMapping>> HostMappings();

}  // namespace zelmora
