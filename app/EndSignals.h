#pragma once
// SIGTERM and SIGHUP (a logout, a shutdown, `kill`) end the program as a close does, on the
// window's thread: the handler only writes a byte that the event loop reads.
#include <functional>

// `end` runs on the window's thread, once per signal received.
void installEndSignals(std::function<void()> end);
