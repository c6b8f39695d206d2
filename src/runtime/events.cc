#include "runtime/events.h"

#include <atomic>

namespace zelmora {
namespace {

// Read on every collected piece, written once by a front end at start-up; a
// relaxed atomic keeps concurrent headless runs well-defined at no cost.
std::atomic<EventPump> installedPump{nullptr};

}  // namespace

void ProcessEvents() {
  if (const EventPump pump = installedPump.load(std::memory_order_relaxed)) pump();
}

void SetEventPump(EventPump pump) { installedPump.store(pump, std::memory_order_relaxed); }

}  // namespace zelmora
