// "--com N=PATH": a device path assigned to COMn, as every program of KORVAL takes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr int kMaxComPort = 12;

struct PortAssignment {
    int number = 0;
    std::string path;
};

// Parses "N=PATH" with N in 1..kMaxComPort and a non-empty PATH into `assignment`; returns
// the one-line error, empty when the value is good.
std::string parsePortAssignment(const std::string& value, PortAssignment& assignment);

// The rates the line offers and the device addresses, as every command line takes them.
inline constexpr int kLineBaudRates[] = {1200, 2400, 4800, 9600, 19200};
inline constexpr int kMaxDeviceAddress = 247;

// A whole decimal number in [low, high] and nothing else, or nullopt.
std::optional<int> wholeNumber(std::string_view text, int low, int high);
// One of kLineBaudRates, or nullopt.
std::optional<int> lineBaudRate(std::string_view text);
