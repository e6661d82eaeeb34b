// Running the event loop for a while, so timers fire and their handlers run as they do in
// the program: the scenario runner's "wait" and the tests' waits.
#pragma once

#include <functional>

// Runs the event loop for about `ms` milliseconds.
void runEventsFor(int ms);
// Runs the event loop until `done` holds or `limitMs` passes; returns `done()`.
bool runEventsUntil(const std::function<bool()>& done, int limitMs = 10000);
