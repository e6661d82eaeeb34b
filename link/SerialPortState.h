// The state behind a PortHandle, shared by the serial port's source files only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SerialPort.h"

struct SerialPort {
    int fd = -1;
    int baudRate = 0;
    PortTimeouts timeouts;
    std::string lockFile;  // the UUCP lock file made for this port; empty when none
    // Bytes a wait already took off the line and no read has taken yet: the front of the
    // receive queue. Taking them lets the wait sleep on the line's readability.
    std::vector<uint8_t> held;
};
