// Serial port on termios: exclusive open of "COMn", raw 8N1, emulated time-outs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "LinkSettings.h"

// Read/write time-outs applied on every open, in milliseconds.
struct PortTimeouts {
    uint32_t readIntervalMs = 100;
    uint32_t readTotalPerByteMs = 5;
    uint32_t readTotalConstantMs = 5;
    uint32_t writeTotalPerByteMs = 50;
    uint32_t writeTotalConstantMs = 100;
};

// The table that maps COMn to a device path. Without an entry, COMn is /dev/ttyS{n-1}.
void setPortPath(int portNumber, const std::string& path);
void clearPortPaths();
std::string portPath(int portNumber);

// Opens COM`portNumber` at `baudRate`, stores the result in LinkSettings::portHandle and
// returns it; null when the port is missing, held by another program, or refuses the rate.
// A port still open in this process is closed first (there is only ever one).
PortHandle openSerialPort(int portNumber, int baudRate);
// Closes LinkSettings::portHandle if open; harmless when nothing is open.
void closeSerialPort();
// Polls the receive queue every 2 ms until `wanted` bytes wait or the time-out passes;
// returns the queue length read before the last poll's sleep. Returns at once when no
// port is open, and early when the device hung up (nothing more can arrive).
uint32_t waitForRxBytes(PortHandle handle, uint16_t wanted, uint32_t timeoutMs);
// Called between the polls of waitForRxBytes, on the waiting thread, so that a long wait
// can keep a window painted. Empty: nothing is called. It must not use the port.
void setRxWaitHook(std::function<void()> hook);

// The platform operations a port offers. All are safe on a port whose device vanished.
size_t writePort(PortHandle handle, const uint8_t* data, size_t size);  // bytes written
size_t readPort(PortHandle handle, uint8_t* data, size_t size);         // bytes read
void purgePort(PortHandle handle);                                      // drop both directions
void discardRxBytes(PortHandle handle);     // drop what waits in the receive queue
uint32_t rxQueueLength(PortHandle handle);  // clears pending errors, then counts
int portBaudRate(PortHandle handle);        // the rate the port was opened with
