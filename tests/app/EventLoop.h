#pragma once
// Running the real event loop in tests: the main loop's idle calls come only while a loop
// waits for events, which QTest::qWait never does.

#include <functional>

// Runs an event loop for `milliseconds`.
void RunEventLoop(int milliseconds);
// Runs an event loop until `done` holds (checked every few milliseconds) or `timeoutMs` has
// passed; returns whether it holds.
bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Calls `action` from inside whatever loop runs once `ready` holds (a modal dialog's, for
// example), checking every few milliseconds; gives up after `timeoutMs`.
void WhenReady(const std::function<bool()>& ready, const std::function<void()>& action,
               int timeoutMs = 10000);
