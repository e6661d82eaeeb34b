// Serial port on termios: exclusive open of "COMn", raw 8N1, emulated time-outs.
// Exclusivity comes from flock and a UUCP lock file, both of which a killed process leaves
// behind harmlessly: the kernel drops the flock, and a lock file naming a dead process is
// stale. Nothing is set on the terminal itself that could outlive the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

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
// A port still open in this process is closed first (there is only ever one). A failed
// open leaves the port exactly as it found it; lastPortOpenError() says why it failed.
PortHandle openSerialPort(int portNumber, int baudRate);

enum class PortFailure {
    None,              // the last open succeeded (or none was tried)
    NoSuchDevice,      // nothing at the path
    PermissionDenied,  // the user may not open it (not in the dialout group)
    Busy,              // another program holds it: flock, lock file, or exclusive mode
    SettingsRejected,  // the device refused the line settings, or is no terminal
    Other,             // any other error of the system, in `systemError`
};

struct PortOpenError {
    PortFailure reason = PortFailure::None;
    int portNumber = 0;
    std::string path;      // the path COMn maps to
    std::string device;    // where a symbolic link leads, when it differs from `path`
    int baudRate = 0;      // the rate asked for
    int holderPid = 0;     // Busy: the holding process, 0 when unknown
    std::string lockFile;  // Busy because of a lock file: that file
    int systemError = 0;   // errno of the failing call, 0 when there was none
};

// Why the last openSerialPort failed; reason None after a success.
const PortOpenError& lastPortOpenError();
// The technician's explanation of a failed open, in Chinese: the port, its path and the
// reason, with what to do about it where there is something to do.
std::string portOpenErrorDetails(const PortOpenError& error);
// Closes LinkSettings::portHandle if open; harmless when nothing is open.
void closeSerialPort();
// Waits until `wanted` bytes wait in the receive queue or the time-out (monotonic clock)
// passes, and returns the queue length it last saw. It sleeps while the missing bytes are
// still on the line (worked out from the baud rate) and then waits for the line to become
// readable, so it wakes when the reply is due rather than on a fixed poll. Returns at once
// when no port is open, and early when the device hung up (nothing more can arrive).
uint32_t waitForRxBytes(PortHandle handle, uint16_t wanted, uint32_t timeoutMs);
// Called between the waits of waitForRxBytes, on the waiting thread, at least every
// kRxWaitHookPeriodMs while set, so that a long wait can keep a window painted. Empty:
// nothing is called. It must not use the port.
void setRxWaitHook(std::function<void()> hook);
// The hook in place now, so that whoever replaces it for a while can put it back.
std::function<void()> currentRxWaitHook();
inline constexpr int kRxWaitHookPeriodMs = 10;

// The platform operations a port offers. All are safe on a port whose device vanished.
size_t writePort(PortHandle handle, const uint8_t* data, size_t size);  // bytes written
size_t readPort(PortHandle handle, uint8_t* data, size_t size);         // bytes read
void purgePort(PortHandle handle);                                      // drop both directions
void discardRxBytes(PortHandle handle);  // drop what waits in the receive queue
// Appends what the receive queue holds now to `into`, without waiting; the queue is left
// empty (unless more arrives meanwhile). The traffic record reads what a discard would drop.
void takeRxBytes(PortHandle handle, std::vector<uint8_t>& into);
uint32_t rxQueueLength(PortHandle handle);  // clears pending errors, then counts
int portBaudRate(PortHandle handle);        // the rate the port was opened with
