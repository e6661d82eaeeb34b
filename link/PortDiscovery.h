// Finds the serial ports present on this machine: the USB adapters and the on-board UARTs
// that really have a UART behind them, each with its stable /dev/serial/by-id name.
#pragma once

#include <string>
#include <vector>

struct DiscoveredPort {
    std::string path;  // "/dev/ttyUSB0"
    std::string byId;  // "/dev/serial/by-id/usb-...", empty when the port has none
};

// Where the device nodes and sysfs are; tests point them at a tree of their own.
struct DiscoveryRoots {
    std::string dev = "/dev";
    std::string sys = "/sys";
};

// ttyUSB*, then ttyACM*, then ttyS* whose UART type is known to the kernel (the others are
// placeholders the serial driver makes whether or not a UART is there); each kind in
// numeric order. A missing or unreadable folder means no ports of that kind.
std::vector<DiscoveredPort> discoverSerialPorts(const DiscoveryRoots& roots = {});

// One port a line: its path, and after a tab its by-id name when it has one.
std::string formatPortList(const std::vector<DiscoveredPort>& ports);
