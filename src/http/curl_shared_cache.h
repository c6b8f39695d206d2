#pragma once

// The connection and name cache that every request of the curl backend
// shares, so that later requests to a host reuse the connection of earlier
// ones, whatever thread makes them. Part of the curl backend only.

#include <curl/curl.h>

namespace zelmora {

// The process's share handle; initialises libcurl on first use. Lives until
// the process ends. Safe to use from several threads at once.
CURLSH* SharedCurlCache();

// An easy handle with default options, from a pool of idle ones when there
// is one (making a handle costs about as much as a loopback request); null
// when none can be made. Safe from any thread.
CURL* AcquireEasyHandle();

// Gives a handle back to the pool, which resets its options, or frees it
// when the pool is full.
void ReleaseEasyHandle(CURL* easy);

}  // namespace zelmora
