// Modbus RTU request PDUs and the framing (address byte, CRC) around them.
#include "ModbusFrame.h"

#include <algorithm>

#include "ModbusCrc.h"

namespace {

// A write of several registers carries its byte count in one byte, so at most 123 registers.
constexpr size_t kMaxWriteRegisters = 123;

void appendWord(Bytes& out, uint16_t word) {
    out.push_back(static_cast<uint8_t>(word >> 8));
    out.push_back(static_cast<uint8_t>(word & 0xFF));
}

Bytes functionWithTwoWords(uint8_t function, uint16_t first, uint16_t second) {
    Bytes pdu{function};
    appendWord(pdu, first);
    appendWord(pdu, second);
    return pdu;
}

}  // namespace

Bytes readHoldingRequest(uint16_t start, uint16_t count) {
    return functionWithTwoWords(0x03, start, count);
}

Bytes readInputRequest(uint16_t start, uint16_t count) {
    return functionWithTwoWords(0x04, start, count);
}

Bytes writeSingleRequest(uint16_t reg, uint16_t value) {
    return functionWithTwoWords(0x06, reg, value);
}

// Only whole registers are sent (a stray odd byte is dropped) so that the count, the
// byte count and the data always agree on the wire.
Bytes writeMultipleRequest(uint16_t start, std::span<const uint8_t> data) {
    const size_t registers = std::min(data.size() / 2, kMaxWriteRegisters);
    Bytes pdu = functionWithTwoWords(0x10, start, static_cast<uint16_t>(registers));
    pdu.push_back(static_cast<uint8_t>(2 * registers));
    pdu.insert(pdu.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(2 * registers));
    return pdu;
}

Bytes frameRequest(int address, std::span<const uint8_t> pdu) {
    Bytes frame;
    frame.reserve(pdu.size() + 3);
    frame.push_back(static_cast<uint8_t>(address & 0xFF));
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    const uint16_t crc = modbusCrc16(frame.data(), static_cast<int32_t>(frame.size()));
    appendWord(frame, crc);
    return frame;
}

bool frameCrcOk(std::span<const uint8_t> frame) {
    if (frame.size() < 3) {
        return false;  // nothing covered by the CRC: not a frame
    }
    const size_t n = frame.size();
    const uint16_t received = static_cast<uint16_t>((frame[n - 2] << 8) | frame[n - 1]);
    return modbusCrc16(frame.data(), static_cast<int32_t>(n - 2)) == received;
}
