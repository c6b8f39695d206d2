#pragma once

// Start-up and shut-down of the window program.

#include "runtime/text.h"

namespace zelmora {

// The program's one global: the header lines of the current click. Empty
// (absent) from start-up until the first click; every click resets it and
// the first request completes it in place; OnProgramExit releases it.
extern Text MobileUserAgentHeader;

// The exit routine, registered at start-up and called once when the process
// ends: releases MobileUserAgentHeader, which may hold nothing.
void OnProgramExit();

// Brings the application up, registers OnProgramExit, resets the global,
// creates and shows the window, and runs the event loop until the window is
// closed. Returns the loop's exit code, 0 after a close. `argc` and `argv`
// go to the application object only (its display options); the program
// itself reads no argument.
int StartProgram(int& argc, char** argv);

}  // namespace zelmora
