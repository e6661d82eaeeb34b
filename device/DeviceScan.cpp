// The device scan: the plan and time-outs as pure functions, then the probes on the port.
#include "DeviceScan.h"

#include <algorithm>
#include <utility>

#include "DeviceRegisters.h"
#include "LinkSettings.h"
#include "ModbusFrame.h"
#include "SerialPort.h"

namespace {

constexpr uint16_t kVersionRegister = reg::kDeviceInfo + 2;  // address, baud rate, version
constexpr uint64_t kBitsPerByte = 10;
// The scheduler's share of a probe: a wake-up late by a millisecond or two loses no reply.
constexpr uint32_t kWakeAllowanceMs = 2;

bool validAt(std::span<const uint8_t> bytes, size_t start, size_t length) {
    return start + length <= bytes.size() && frameCrcOk(bytes.subspan(start, length));
}

// The link settings as the caller had them, put back when a probe is over. The port handle
// is the scan's own between probes.
class LinkSettingsKept {
  public:
    ~LinkSettingsKept() {
        LinkSettings::portNumber = m_port;
        LinkSettings::baudRate = m_baud;
        LinkSettings::deviceAddress = m_address;
    }

  private:
    int m_port = LinkSettings::portNumber;
    int m_baud = LinkSettings::baudRate;
    int m_address = LinkSettings::deviceAddress;
};

// Nothing when the request could not be written: the port has gone (an adapter pulled out).
std::optional<ProbeReply> probe(const ScanProbe& p) {
    const PortHandle port = LinkSettings::portHandle;
    discardRxBytes(port);
    LinkSettings::deviceAddress = p.address;
    const Bytes frame = frameRequest(p.address, readHoldingRequest(kVersionRegister, 1));
    if (writePort(port, frame.data(), frame.size()) != frame.size()) {
        return std::nullopt;
    }
    waitForRxBytes(port, kProbeReplyLength, probeTimeoutMs(p.baudRate));
    Bytes got;
    takeRxBytes(port, got);
    return judgeProbeReply(got);
}

uint32_t timeLeft(const std::vector<ScanProbe>& plan, size_t from) {
    uint32_t ms = 0;
    for (size_t k = from; k < plan.size(); ++k) {
        ms += probeTimeoutMs(plan[k].baudRate);
    }
    return ms;
}

void noteGarbled(ScanResult& result, int baud) {
    for (const int seen : result.garbledRates) {
        if (seen == baud) {
            return;
        }
    }
    result.garbledRates.push_back(baud);
}

}  // namespace

std::vector<ScanProbe> scanPlan(const ScanProbe& current) {
    std::vector<ScanProbe> plan{current};
    for (const int baud : kScanBaudRates) {
        for (int address = kScanFirstAddress; address <= kScanLastAddress; ++address) {
            if (ScanProbe{baud, address} != current) {
                plan.push_back({baud, address});
            }
        }
    }
    return plan;
}

uint64_t lineTimeUs(size_t bytes, int baudRate) {
    if (baudRate <= 0) {
        return 0;
    }
    const uint64_t bits = bytes * kBitsPerByte * 1'000'000;
    return (bits + static_cast<uint64_t>(baudRate) - 1) / static_cast<uint64_t>(baudRate);
}

uint32_t probeTimeoutMs(int baudRate) {
    const uint64_t roundTripUs = lineTimeUs(kProbeRequestLength + kProbeReplyLength, baudRate);
    const uint64_t waitUs = roundTripUs + roundTripUs / 2;
    return static_cast<uint32_t>((waitUs + 999) / 1000) + kWakeAllowanceMs;
}

ProbeReply judgeProbeReply(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return {};
    }
    for (size_t start = 0; start < bytes.size(); ++start) {
        if (validAt(bytes, start, kProbeReplyLength) && bytes[start + 1] == 0x03 &&
            bytes[start + 2] == 2) {
            return {ProbeAnswer::Device, (bytes[start + 3] << 8) | bytes[start + 4]};
        }
        // Any other frame the CRC holds for: an exception, or a reply of another shape.
        for (size_t length = kExceptionReplyLength; start + length <= bytes.size(); ++length) {
            if (validAt(bytes, start, length)) {
                return {ProbeAnswer::Device, std::nullopt};
            }
        }
    }
    return {ProbeAnswer::Garbled, std::nullopt};
}

DeviceScanRun::DeviceScanRun(ScanRequest request)
    : m_request(std::move(request)),
      m_plan(m_request.probes.empty() ? scanPlan(m_request.current) : m_request.probes),
      m_msLeft(timeLeft(m_plan, 0)) {
    m_over = m_plan.empty();
}

DeviceScanRun::~DeviceScanRun() {
    if (m_openRate != 0) {
        closeSerialPort();
    }
}

void DeviceScanRun::finish(ScanEnd end) {
    m_result.end = end;
    m_over = true;
    if (m_openRate != 0) {
        closeSerialPort();
        m_openRate = 0;
    }
}

void DeviceScanRun::cancel() {
    if (!m_over) {
        finish(ScanEnd::Cancelled);
    }
}

ScanProgress DeviceScanRun::progress() const {
    return {m_done, m_plan.size(), m_msLeft};
}

bool DeviceScanRun::step() {
    if (m_over) {
        return false;
    }
    const LinkSettingsKept kept;
    const ScanProbe& p = m_plan[m_done];
    if (p.baudRate != m_openRate || LinkSettings::portHandle == nullptr) {
        if (m_openRate != 0) {
            closeSerialPort();
            m_openRate = 0;
        }
        LinkSettings::baudRate = p.baudRate;
        if (openSerialPort(m_request.portNumber, p.baudRate) == nullptr) {
            m_result.failedPortRate = p.baudRate;
            finish(ScanEnd::PortFailed);
            return false;
        }
        m_openRate = p.baudRate;
    }
    const std::optional<ProbeReply> sent = probe(p);
    if (!sent) {
        m_result.failedPortRate = p.baudRate;
        finish(ScanEnd::PortFailed);
        return false;
    }
    const ProbeReply& reply = *sent;
    ++m_result.probesSent;
    if (reply.answer == ProbeAnswer::Device) {
        m_result.devices.push_back({p.address, p.baudRate, reply.version});
    } else if (reply.answer == ProbeAnswer::Garbled) {
        noteGarbled(m_result, p.baudRate);
    }
    m_msLeft -= std::min(m_msLeft, probeTimeoutMs(p.baudRate));
    ++m_done;
    if (m_done == m_plan.size() || (m_request.stopAtFirst && !m_result.devices.empty())) {
        finish(ScanEnd::Finished);
    }
    return !m_over;
}

ScanResult runDeviceScan(const ScanRequest& request,
                         const std::function<void(const ScanProgress&)>& progress,
                         const std::atomic<bool>* cancel) {
    DeviceScanRun run(request);
    while (!run.over()) {
        if (cancel != nullptr && cancel->load()) {
            run.cancel();
            break;
        }
        run.step();
        if (progress && run.result().end != ScanEnd::PortFailed) {
            progress(run.progress());
        }
    }
    return run.result();
}
