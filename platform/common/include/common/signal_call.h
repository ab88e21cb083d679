// Runs a function on the program's thread whenever a signal arrives, for the hooks of outside
// tools (the window list on SIGUSR1, the object counts on SIGUSR2). The signal handler only
// writes a byte into a pipe; a socket notifier of the event loop that GetMessageA waits in reads
// it, so the function runs between messages, where any call is safe. Not done: a second
// function for the same signal, signals numbered NSIG or above.
#pragma once

#include <functional>

namespace vintorel::common {

// False (nothing installed) when the signal already has a function or no pipe can be made.
bool callOnSignal(int signal, std::function<void()> function);

} // namespace vintorel::common
