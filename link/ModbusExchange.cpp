// One request/reply exchange on the open port and the checks a reply must pass.
#include "ModbusExchange.h"

#include <cmath>
#include <limits>

#include "LinkSettings.h"
#include "SerialPort.h"

namespace {

constexpr double kBitsPerByte = 10.0;  // start, 8 data, stop
constexpr double kLineMarginMs = 100.0;

}  // namespace

// On failure `reply` is left empty, so no caller can decode a rejected frame.
ExchangeResult ModbusExchange::exchange(std::span<const uint8_t> pdu, size_t replyLength,
                                        uint32_t timeoutMs, Bytes& reply,
                                        const std::function<void()>& afterSend) {
    const PortHandle handle = LinkSettings::portHandle;
    const Bytes request = frameRequest(LinkSettings::deviceAddress, pdu);
    reply.clear();
    if (handle == nullptr || replyLength > std::numeric_limits<uint16_t>::max()) {
        return ExchangeResult::Failed;
    }
    // The tail of an earlier late reply would otherwise be read as the start of this one.
    discardRxBytes(handle);
    if (writePort(handle, request.data(), request.size()) != request.size()) {
        return ExchangeResult::Failed;  // the device cannot have the whole request
    }
    if (afterSend) {
        afterSend();
    }
    const uint32_t wait = effectiveTimeout(timeoutMs, replyLength, portBaudRate(handle));
    const uint32_t count = waitForRxBytes(handle, static_cast<uint16_t>(replyLength), wait);
    Bytes frame(replyLength);
    const size_t got = readPort(handle, frame.data(), frame.size());
    if (!frameCrcOk(frame) || count != replyLength || got != replyLength) {
        return ExchangeResult::Failed;
    }
    reply = std::move(frame);
    return ExchangeResult::Ok;
}

uint32_t ModbusExchange::effectiveTimeout(uint32_t timeoutMs, size_t replyLength, int baudRate) {
    if (baudRate <= 0) {
        return timeoutMs;
    }
    const double lineMs = static_cast<double>(replyLength) * kBitsPerByte * 1000.0 / baudRate;
    const double floorMs = std::ceil(lineMs + kLineMarginMs);
    if (timeoutMs >= floorMs) {
        return timeoutMs;
    }
    constexpr double kMax = std::numeric_limits<uint32_t>::max();
    return floorMs >= kMax ? std::numeric_limits<uint32_t>::max() : static_cast<uint32_t>(floorMs);
}

uint16_t replyRegister(std::span<const uint8_t> reply, size_t index) {
    if (reply.size() < 5 || index >= (reply.size() - 3) / 2) {
        return 0;
    }
    return static_cast<uint16_t>((reply[3 + 2 * index] << 8) | reply[4 + 2 * index]);
}
