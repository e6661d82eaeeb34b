// korval's subcommands without a display: `korval read|info|records ...` parses its options,
// holds the port (with its lock, as the window does), asks the device, prints to stdout,
// tells problems on stderr and returns the exit code (Verdict; 3 for a bad command line too).
#pragma once

#include <string>
#include <vector>

#include "CliOptions.h"

// `args` starts with the subcommand (isCliCommand).
int runCommandLine(const std::vector<std::string>& args);
