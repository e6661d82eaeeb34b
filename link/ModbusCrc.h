// CRC-16/MODBUS, table driven.
#pragma once

#include <cstdint>

// Returns the CRC with its bytes swapped: the high byte is the one sent first.
// So a frame ends with (crc >> 8), (crc & 0xFF). A length of 0 gives 0xFFFF.
uint16_t modbusCrc16(const uint8_t* data, int32_t length);
