#pragma once

// The replica's mobile track page for each scenario (see replica_content.h).

#include <string_view>

#include "support/loopback_server.h"

namespace zelmora::testing {

// The answer to GET <mobile origin>/playmc/<id>.html.
Reply MobilePageReply(std::string_view id);

}  // namespace zelmora::testing
