#pragma once
// SIGTERM, SIGINT and SIGHUP turned into a call on the event loop, so that the program
// closes the way its main window closes (everything saved) instead of dying mid-write.
#include <functional>

namespace zrk {

// Installs the handlers once; `onQuit` runs on the thread of the calling event loop. With
// `onHangUp`, SIGHUP runs that instead (a service's "read your files again").
void installQuitSignals(std::function<void()> onQuit, std::function<void()> onHangUp = {});

}  // namespace zrk
