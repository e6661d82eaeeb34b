// Fault injection for the simulated device's replies.
#include "FaultPlan.h"

#include <algorithm>
#include <utility>

#include "ModbusFrame.h"

namespace {

constexpr uint8_t kExceptionDeviceFailure = 0x04;

// No RTU frame is longer; a larger count would only waste memory.
constexpr int kMaxExtraBytes = 256;

int parameterOr(const Fault& fault, int fallback) {
    return fault.parameter >= 0 ? fault.parameter : fallback;
}

// A byte count for the length faults: at least one, or the fault would change nothing.
size_t byteCount(const Fault& fault, int fallback) {
    return static_cast<size_t>(std::clamp(parameterOr(fault, fallback), 1, kMaxExtraBytes));
}

// Junk that cannot be mistaken for the start of a reply to this device.
std::vector<uint8_t> junk(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(0xA5 ^ (i * 0x3B));
    }
    return bytes;
}

}  // namespace

void FaultPlan::add(FaultKind kind, int count, int parameter) {
    if (count > 0) {
        m_pending.push_back(Pending{Fault{kind, parameter}, count});
    }
}

void FaultPlan::pass(int count) {
    if (count > 0) {
        m_pending.push_back(Pending{std::nullopt, count});
    }
}

void FaultPlan::clear() {
    m_pending.clear();
}

std::optional<Fault> FaultPlan::takeNext() {
    if (m_pending.empty()) {
        return std::nullopt;
    }
    const std::optional<Fault> fault = m_pending.front().fault;
    if (--m_pending.front().remaining == 0) {
        m_pending.pop_front();
    }
    return fault;
}

RandomFaults::RandomFaults(int ratePercent, uint32_t seed)
    : m_ratePercent(std::clamp(ratePercent, 0, 100)),
      m_random(seed != 0 ? seed : (m_ratePercent > 0 ? std::random_device{}() : 1u)) {}

std::optional<Fault> RandomFaults::draw() {
    static constexpr FaultKind kKinds[] = {FaultKind::Silent, FaultKind::Short, FaultKind::BadCrc,
                                           FaultKind::Exception, FaultKind::Garbage};
    if (m_ratePercent == 0 ||
        std::uniform_int_distribution<int>(0, 99)(m_random) >= m_ratePercent) {
        return std::nullopt;
    }
    const auto kind = std::uniform_int_distribution<size_t>(0, std::size(kKinds) - 1)(m_random);
    return Fault{kKinds[kind], -1};
}

bool faultExecutesRequest(const Fault& fault) {
    return fault.kind != FaultKind::Silent && fault.kind != FaultKind::Exception;
}

std::vector<uint8_t> exceptionReply(int address, uint8_t function, uint8_t code) {
    const uint8_t pdu[] = {static_cast<uint8_t>(function | 0x80), code};
    return frameRequest(address, pdu);
}

ShapedReply shapeReply(const Fault& fault, int address, uint8_t function,
                       std::vector<uint8_t> reply) {
    ShapedReply shaped{std::move(reply), std::chrono::milliseconds(0)};
    auto& bytes = shaped.bytes;
    switch (fault.kind) {
        case FaultKind::Silent:
            bytes.clear();
            break;
        case FaultKind::Short: {
            const auto drop =
                static_cast<std::ptrdiff_t>(std::min(byteCount(fault, 1), bytes.size()));
            bytes.erase(bytes.end() - drop, bytes.end());
            break;
        }
        case FaultKind::Long: {
            const auto extra = junk(byteCount(fault, 2));
            bytes.insert(bytes.end(), extra.begin(), extra.end());
            break;
        }
        case FaultKind::BadCrc:
            if (!bytes.empty()) {
                bytes.back() ^= 0x01;
            }
            break;
        case FaultKind::Exception:
            bytes = exceptionReply(address, function, kExceptionDeviceFailure);
            break;
        case FaultKind::Late:
            shaped.delay = std::chrono::milliseconds(parameterOr(fault, 2500));
            break;
        case FaultKind::Garbage: {
            auto prefixed = junk(byteCount(fault, 3));
            prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
            bytes = std::move(prefixed);
            break;
        }
    }
    return shaped;
}
