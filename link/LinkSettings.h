// Process-wide link settings: the port, baud rate and address every exchange uses,
// and the one open port. Everything runs on the UI thread, so there is no lock.
#pragma once

struct SerialPort;
using PortHandle = SerialPort*;

struct LinkSettings {
    static inline int portNumber = 0;
    static inline int deviceAddress = 0;  // only the low byte goes on the wire
    static inline int baudRate = 0;
    static inline PortHandle portHandle = nullptr;
};
