// Command-line options of the korval and korval-scenario programs. Pure parsing, no I/O.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "PortAssignment.h"  // kMaxComPort

struct LauncherOptions {
    bool demo = false;
    bool help = false;
    bool version = false;              // korval only: print the version and end
    bool listPorts = false;            // korval only: print the serial ports present and end
    std::map<int, std::string> ports;  // COMn -> device path, from --com N=PATH
    std::vector<std::string> files;    // plain arguments, where the program takes them
};

struct LauncherParse {
    LauncherOptions options;
    std::string error;  // one line; empty when the arguments are good
};

// `acceptFiles`: plain arguments are files (korval-scenario) rather than errors.
// `korvalOptions`: whether the korval program's own options (--demo, --list-ports,
// --version) are options of this program.
LauncherParse parseLauncherOptions(const std::vector<std::string>& args, bool acceptFiles,
                                   bool korvalOptions);

// Applies --com assignments to the serial layer's port table.
void applyPortPaths(const LauncherOptions& options);
