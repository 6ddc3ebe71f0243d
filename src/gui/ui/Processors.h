#pragma once

#include <thread>

namespace cw::gui::ui {

// Moves `thread`, just started, to a processor other than the calling thread's when
// this process may use another. A thread started by a busy one is queued behind it on
// its processor until the system moves it: on a virtual machine of two processors, the
// idle one took such a thread only about 2 ms later. Started elsewhere, it runs at once.
void moveToAnotherProcessor(std::thread::native_handle_type thread);

} // namespace cw::gui::ui
