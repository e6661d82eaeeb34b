// The device scan: the plan and time-outs as pure functions, then the probes on the port.
#include "DeviceScan.h"

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

// The link settings as the caller had them, put back however the scan ends.
class LinkSettingsKept {
  public:
    ~LinkSettingsKept() {
        closeSerialPort();
        LinkSettings::portNumber = m_port;
        LinkSettings::baudRate = m_baud;
        LinkSettings::deviceAddress = m_address;
    }

  private:
    int m_port = LinkSettings::portNumber;
    int m_baud = LinkSettings::baudRate;
    int m_address = LinkSettings::deviceAddress;
};

ProbeReply probe(const ScanProbe& p) {
    const PortHandle port = LinkSettings::portHandle;
    discardRxBytes(port);
    LinkSettings::deviceAddress = p.address;
    const Bytes frame = frameRequest(p.address, readHoldingRequest(kVersionRegister, 1));
    writePort(port, frame.data(), frame.size());
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

ScanResult runDeviceScan(const ScanRequest& request,
                         const std::function<void(const ScanProgress&)>& progress,
                         const std::atomic<bool>* cancel) {
    const LinkSettingsKept kept;
    const std::vector<ScanProbe> plan =
        request.probes.empty() ? scanPlan(request.current) : request.probes;
    ScanResult result;
    int openRate = 0;
    for (size_t k = 0; k < plan.size(); ++k) {
        if (cancel != nullptr && cancel->load()) {
            result.end = ScanEnd::Cancelled;
            return result;
        }
        const ScanProbe& p = plan[k];
        if (p.baudRate != openRate || LinkSettings::portHandle == nullptr) {
            LinkSettings::baudRate = p.baudRate;
            if (openSerialPort(request.portNumber, p.baudRate) == nullptr) {
                result.end = ScanEnd::PortFailed;
                result.failedPortRate = p.baudRate;
                return result;
            }
            openRate = p.baudRate;
        }
        const ProbeReply reply = probe(p);
        ++result.probesSent;
        if (reply.answer == ProbeAnswer::Device) {
            result.devices.push_back({p.address, p.baudRate, reply.version});
        } else if (reply.answer == ProbeAnswer::Garbled) {
            noteGarbled(result, p.baudRate);
        }
        if (progress) {
            progress({k + 1, plan.size(), timeLeft(plan, k + 1)});
        }
        if (request.stopAtFirst && !result.devices.empty()) {
            break;
        }
    }
    return result;
}
