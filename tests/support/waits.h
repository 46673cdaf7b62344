// Waiting for something another thread or program does, with a time limit, so a test
// fails on a stuck program instead of hanging.
#ifndef ZK_TESTS_SUPPORT_WAITS_H
#define ZK_TESTS_SUPPORT_WAITS_H

#include <windows.h>

#include <functional>

// How often waits look again.
constexpr DWORD kWaitPollMs = 50;

// Asks `holds` until it answers true (true) or timeoutMs has passed (false), every pollMs.
bool WaitFor(const std::function<bool()>& holds, DWORD timeoutMs, DWORD pollMs = kWaitPollMs);

// Dispatches the calling thread's messages for `ms` milliseconds, so that windows, hooks
// and timers of a test on the GUI thread see what the system sends them meanwhile.
void PumpMessagesFor(DWORD ms);

#endif
