// "--com N=PATH": a device path assigned to COMn, as every program of KORVAL takes it.
#pragma once

#include <string>

inline constexpr int kMaxComPort = 12;

struct PortAssignment {
    int number = 0;
    std::string path;
};

// Parses "N=PATH" with N in 1..kMaxComPort and a non-empty PATH into `assignment`; returns
// the one-line error, empty when the value is good.
std::string parsePortAssignment(const std::string& value, PortAssignment& assignment);
