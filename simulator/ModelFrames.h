// Request parsing and reply building for the simulated device: the four function codes it
// serves and the exception reply for everything else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ModelAddresses.h"

struct ModelRequest {
    uint8_t address = 0;
    uint8_t function = 0;
    uint16_t start = 0;
    uint16_t quantity = 0;         // registers to read or write (1 for 0x06)
    std::vector<uint16_t> values;  // values to write, high byte first on the wire
};

inline constexpr uint8_t kReadHolding = 0x03;
inline constexpr uint8_t kReadInput = 0x04;
inline constexpr uint8_t kWriteSingle = 0x06;
inline constexpr uint8_t kWriteMultiple = 0x10;
inline constexpr uint16_t kMaxReadCount = 125;
inline constexpr uint16_t kMaxWriteCount = 123;

// Splits a whole frame (address .. CRC, at least 4 bytes) into `out`. Returns None, or the
// exception to answer: unknown function, or a request of the wrong shape.
ModbusError parseRequest(std::span<const uint8_t> frame, ModelRequest& out);

std::vector<uint8_t> readReply(uint8_t address, uint8_t function, std::span<const uint16_t> values);
// 0x06 echoes register and value; 0x10 answers start and quantity: both 8 bytes.
std::vector<uint8_t> writeReply(uint8_t address, uint8_t function, uint16_t first, uint16_t second);
std::vector<uint8_t> exceptionReply(uint8_t address, uint8_t function, ModbusError error);
