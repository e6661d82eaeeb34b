// Modbus RTU request builders. A PDU is the function code and its data, without the
// address and CRC; `frameRequest` adds both.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes readHoldingRequest(uint16_t start, uint16_t count);  // function 0x03
Bytes readInputRequest(uint16_t start, uint16_t count);    // function 0x04
Bytes writeSingleRequest(uint16_t reg, uint16_t value);    // function 0x06
// function 0x10; `data` holds the register values high byte first (an even count).
Bytes writeMultipleRequest(uint16_t start, std::span<const uint8_t> data);

// address byte (low byte of `address`) + pdu + CRC.
Bytes frameRequest(int address, std::span<const uint8_t> pdu);
// True when the last two bytes are the CRC of the rest.
bool frameCrcOk(std::span<const uint8_t> frame);
// Reply length of a read of `count` registers: address, function, byte count, data, CRC.
constexpr size_t readReplyLength(uint16_t count) {
    return 5 + 2 * size_t{count};
}
constexpr size_t kWriteReplyLength = 8;
