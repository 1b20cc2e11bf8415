#pragma once
// Running the real event loop in tests: the main loop's idle calls come only while a loop
// waits for events, which QTest::qWait never does.

#include <functional>

// Generous, because the sanitizer builds on a busy machine draw a frame many times slower than
// a player's build does; the limits only cost time when a test fails.
constexpr int EventWaitLimitMs = 30000;
// Long enough to play a whole game through at the tests' fast clock.
constexpr int WholeGameLimitMs = 180000;

// Runs an event loop for `milliseconds`.
void RunEventLoop(int milliseconds);
// Runs an event loop until `done` holds (checked every few milliseconds) or `timeoutMs` has
// passed; returns whether it holds.
bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs = EventWaitLimitMs);
// Calls `action` from inside whatever loop runs once `ready` holds (a modal dialog's, for
// example), checking every few milliseconds; gives up after `timeoutMs`.
void WhenReady(const std::function<bool()>& ready, const std::function<void()>& action,
               int timeoutMs = EventWaitLimitMs);
