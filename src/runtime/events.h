#pragma once

namespace zelmora {

// Dispatches the events waiting for the front end, through the hook that the
// front end installed; does nothing when none is installed. Handlers of the
// front end, a second click of its button included, may run inside it.
void ProcessEvents();

// Installs the event pump (nullptr removes it). The window installs one that
// dispatches its pending events; headless front ends install none.
using EventPump = void (*)();
void SetEventPump(EventPump pump);

}  // namespace zelmora
