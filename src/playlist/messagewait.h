#pragma once

#include <functional>

// Waiting inside a playlist run while the program stays alive.

// Handles the application's messages, sleeping in the platform's wait between them, until done()
// holds; done() is looked at before the first wait and again each time the pending messages have
// been handled. False when the program is ending instead (the main window closed, which ends every
// loop), true when done() was reached.
bool HandleMessagesUntil(const std::function<bool()>& done);

// Holds for that many seconds, handling meanwhile only what is not user input (painting, timers,
// the window system's pings), so the window does not freeze; keys and clicks stay queued for the
// loop that runs next. False when the program is ending instead.
bool HoldWithoutInput(int seconds);
