// Register-level commands over the checked exchange, and the port held for them.
#include "RegisterLink.h"

#include "LinkSettings.h"
#include "ModbusExchange.h"
#include "SerialPort.h"

namespace {

// The reply a request of `pdu` must get, whole and checked; nullopt when it did not come.
std::optional<Bytes> exchange(std::span<const uint8_t> pdu, size_t replyLength, uint32_t timeoutMs,
                              const std::function<void()>& afterSend = {}) {
    Bytes reply;
    if (ModbusExchange::exchange(pdu, replyLength, timeoutMs, reply, afterSend) !=
        ExchangeResult::Ok) {
        return std::nullopt;
    }
    return reply;
}

constexpr size_t kReadHeaderLength = 3;  // address, function, byte count

std::optional<DataBytes> readData(const Bytes& request, uint16_t count, uint32_t timeoutMs) {
    const auto reply = exchange(request, readReplyLength(count), timeoutMs);
    if (!reply) {
        return std::nullopt;
    }
    const auto first = reply->begin() + kReadHeaderLength;
    return DataBytes(first, first + 2 * count);
}

std::optional<Registers> readRegisters(const Bytes& request, uint16_t count, uint32_t timeoutMs) {
    const auto data = readData(request, count, timeoutMs);
    if (!data) {
        return std::nullopt;
    }
    Registers values(count);
    for (size_t i = 0; i < count; ++i) {
        values[i] = static_cast<uint16_t>(((*data)[2 * i] << 8) | (*data)[2 * i + 1]);
    }
    return values;
}

}  // namespace

std::optional<Registers> RegisterLink::readHolding(uint16_t start, uint16_t count,
                                                   uint32_t timeoutMs) const {
    return readRegisters(readHoldingRequest(start, count), count, timeoutMs);
}

std::optional<Registers> RegisterLink::readInput(uint16_t start, uint16_t count,
                                                 uint32_t timeoutMs) const {
    return readRegisters(readInputRequest(start, count), count, timeoutMs);
}

std::optional<Registers> RegisterLink::read(const RegisterBlock& block, uint32_t timeoutMs) const {
    return block.input ? readInput(block.start, block.count, timeoutMs)
                       : readHolding(block.start, block.count, timeoutMs);
}

std::optional<DataBytes> RegisterLink::readHoldingBytes(uint16_t start, uint16_t count,
                                                        uint32_t timeoutMs) const {
    return readData(readHoldingRequest(start, count), count, timeoutMs);
}

bool RegisterLink::writeRegister(uint16_t reg, uint16_t value, uint32_t timeoutMs) const {
    return exchange(writeSingleRequest(reg, value), kWriteReplyLength, timeoutMs).has_value();
}

bool RegisterLink::writeRegister(uint16_t reg, uint16_t value, uint32_t timeoutMs,
                                 const std::function<void()>& beforeReply) const {
    return exchange(writeSingleRequest(reg, value), kWriteReplyLength, timeoutMs, beforeReply)
        .has_value();
}

bool RegisterLink::writeRegisters(uint16_t start, std::span<const uint16_t> values,
                                  uint32_t timeoutMs) const {
    DataBytes data;
    for (uint16_t value : values) {
        data.push_back(static_cast<uint8_t>(value >> 8));
        data.push_back(static_cast<uint8_t>(value & 0xFF));
    }
    return exchange(writeMultipleRequest(start, data), kWriteReplyLength, timeoutMs).has_value();
}

bool RegisterLink::write(const RegisterWrite& w, uint32_t timeoutMs) const {
    return w.multiple || w.values.size() != 1 ? writeRegisters(w.start, w.values, timeoutMs)
                                              : writeRegister(w.start, w.values[0], timeoutMs);
}

LinkPort::~LinkPort() {
    close();
}

bool LinkPort::open() {
    close();
    m_open = openSerialPort(LinkSettings::portNumber, LinkSettings::baudRate) != nullptr;
    return m_open;
}

void LinkPort::close() {
    if (m_open) {
        closeSerialPort();
        m_open = false;
    }
}
