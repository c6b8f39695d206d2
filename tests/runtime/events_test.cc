#include "runtime/events.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

int pumped = 0;

TEST(ProcessEvents, RunsTheInstalledPumpOnly) {
  ProcessEvents();  // nothing installed: nothing happens
  SetEventPump([] { ++pumped; });
  ProcessEvents();
  ProcessEvents();
  SetEventPump(nullptr);
  ProcessEvents();
  EXPECT_EQ(pumped, 2);
}

}  // namespace
}  // namespace zelmora
