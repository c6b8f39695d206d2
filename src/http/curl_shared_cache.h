#pragma once

// The connection and name cache that every request of the curl backend
// shares, so that later requests to a host reuse the connection of earlier
// ones, whatever thread makes them. Part of the curl backend only.

#include <curl/curl.h>

namespace zelmora {

// The process's share handle; initialises libcurl on first use. Lives until
// the process ends. Safe to use from several threads at once.
CURLSH* SharedCurlCache();

}  // namespace zelmora
