// The state behind a PortHandle, shared by the serial port's source files only.
#pragma once

#include "SerialPort.h"

struct SerialPort {
    int fd = -1;
    int baudRate = 0;
    PortTimeouts timeouts;
};
