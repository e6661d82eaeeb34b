// SIGINT and SIGTERM for programs that run until told to stop (korval serve, korval-device).
#pragma once

#include <csignal>

// Blocks both in the calling thread; threads started after it inherit the mask, so the
// signals are only ever taken with sigwait or sigtimedwait on the returned set and nothing
// runs in a signal handler at all.
sigset_t blockStopSignals();
