// Looking for a device whose address or baud rate is unknown: the order of the probes, each
// probe's time-out from the line's bit time, what a probe's reply means, and the scan itself
// on the serial port. No Qt; the communication page and `korval scan` both run it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The rates the device offers, slowest first, and the addresses it can take.
inline constexpr int kScanBaudRates[] = {1200, 2400, 4800, 9600, 19200};
inline constexpr int kScanFirstAddress = 1;
inline constexpr int kScanLastAddress = 247;

struct ScanProbe {
    int baudRate = 0;
    int address = 0;
    bool operator==(const ScanProbe&) const = default;
};

// The current settings first, then every rate by every address, the current pair only once.
// A current pair the device cannot take (an odd rate, address 0) is still tried first.
std::vector<ScanProbe> scanPlan(const ScanProbe& current);

// A probe reads the version register alone: the shortest read that also tells the version.
inline constexpr size_t kProbeRequestLength = 8;
inline constexpr size_t kProbeReplyLength = 7;
inline constexpr size_t kExceptionReplyLength = 5;
// Time of `bytes` on a line of `baudRate` (10 bits a byte), in microseconds.
uint64_t lineTimeUs(size_t bytes, int baudRate);
// How long a probe waits from its write for the reply, in milliseconds, rounded up: the
// request and the reply on the line, with half as much again for the device to turn round.
// Longer would not let 247 addresses at every rate be tried in a working break.
uint32_t probeTimeoutMs(int baudRate);

// What came back for one probe.
enum class ProbeAnswer {
    Silent,   // nothing
    Device,   // a frame with a valid CRC: a reply, or an exception the device raised
    Garbled,  // bytes that form no valid frame: something talks at another rate
};
struct ProbeReply {
    ProbeAnswer answer = ProbeAnswer::Silent;
    std::optional<int> version;  // hundredths, when the reply was the version read
};
// Judges the bytes received for a probe of the version register. A valid frame may start
// anywhere (noise before it) and be an exception; only a normal reply gives the version.
ProbeReply judgeProbeReply(std::span<const uint8_t> bytes);

struct FoundDevice {
    int address = 0;
    int baudRate = 0;
    std::optional<int> version;
    bool operator==(const FoundDevice&) const = default;
};

struct ScanProgress {
    size_t done = 0;
    size_t total = 0;
    uint32_t msLeft = 0;  // the remaining probes' time-outs: the longest the rest can take
};

struct ScanRequest {
    int portNumber = 1;
    ScanProbe current;
    // Stops at the first device, as an operator who knows there is one device wants.
    bool stopAtFirst = false;
    // Only these probes (empty: the whole plan); a benchmark times one rate alone.
    std::vector<ScanProbe> probes;
};

enum class ScanEnd { Finished, Cancelled, PortFailed };

struct ScanResult {
    ScanEnd end = ScanEnd::Finished;
    std::vector<FoundDevice> devices;
    std::vector<int> garbledRates;  // rates at which bytes came that were no frame
    size_t probesSent = 0;
    // PortFailed: the rate the port could not be opened at, or lost at (a request that
    // could not be written).
    int failedPortRate = 0;
};

// The scan one probe at a time, for a window that runs each probe in its own turn of the event
// loop: the port stays open at one rate from probe to probe and is closed with the run (or
// by close()). Between probes the link settings are as the caller had them.
class DeviceScanRun {
  public:
    explicit DeviceScanRun(ScanRequest request);
    ~DeviceScanRun();
    DeviceScanRun(const DeviceScanRun&) = delete;
    DeviceScanRun& operator=(const DeviceScanRun&) = delete;

    // Runs the next probe, opening the port at its rate if need be. False when the run is
    // over: every probe done, the first device found (stopAtFirst), the port failed, or
    // cancelled; result().end says which.
    bool step();
    bool over() const { return m_over; }
    // Ends the run as cancelled and closes the port.
    void cancel();
    // The probe step() runs next (valid while not over).
    const ScanProbe& next() const { return m_plan[m_done]; }
    ScanProgress progress() const;
    const ScanResult& result() const { return m_result; }

  private:
    void finish(ScanEnd end);

    ScanRequest m_request;
    std::vector<ScanProbe> m_plan;
    size_t m_done = 0;
    uint32_t m_msLeft = 0;
    int m_openRate = 0;
    bool m_over = false;
    ScanResult m_result;
};

// Runs the scan on COM`portNumber`, opening the port at each rate in turn and closing it at
// the end. `progress` runs after every probe; `cancel` is looked at before every probe.
// LinkSettings are left as they were.
ScanResult runDeviceScan(const ScanRequest& request,
                         const std::function<void(const ScanProgress&)>& progress = {},
                         const std::atomic<bool>* cancel = nullptr);
