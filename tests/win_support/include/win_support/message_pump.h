// Delivering this thread's queued messages from test code that has no message loop.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches everything that is queued now (paints, posted messages, timers that are due).
void PumpMessages();
// Three rounds of PumpMessages a millisecond apart, so that what the first round's handlers
// post or invalidate is delivered as well.
void SettleMessages();
// Pumps until the predicate holds or the time runs out; true when it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
