// CRC-16/MODBUS with the two byte tables of the serial-line reference routine, built at
// compile time from the reflected polynomial instead of being typed in.
#include "ModbusCrc.h"

#include <array>

namespace {

using Table = std::array<uint8_t, 256>;

constexpr uint16_t kReflectedPoly = 0xA001;

// CRC of one byte from a zero register: the reference tables split it by byte.
constexpr uint16_t byteCrc(unsigned index) {
    uint16_t crc = static_cast<uint16_t>(index);
    for (int bit = 0; bit < 8; ++bit) {
        crc = (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ kReflectedPoly)
                             : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

// High-order CRC byte values (the reference routine's auchCRCHi).
constexpr Table makeHiTable() {
    Table t{};
    for (unsigned i = 0; i < 256; ++i) {
        t[i] = static_cast<uint8_t>(byteCrc(i) & 0xFF);
    }
    return t;
}

// Low-order CRC byte values (auchCRCLo).
constexpr Table makeLoTable() {
    Table t{};
    for (unsigned i = 0; i < 256; ++i) {
        t[i] = static_cast<uint8_t>(byteCrc(i) >> 8);
    }
    return t;
}

constexpr Table kCrcHi = makeHiTable();
constexpr Table kCrcLo = makeLoTable();

// Spot checks against the first entries of the published tables.
static_assert(kCrcHi[0] == 0x00 && kCrcHi[1] == 0xC1 && kCrcHi[2] == 0x81 && kCrcHi[255] == 0x40);
static_assert(kCrcLo[0] == 0x00 && kCrcLo[1] == 0xC0 && kCrcLo[2] == 0xC1 && kCrcLo[255] == 0x40);

}  // namespace

uint16_t modbusCrc16(const uint8_t* data, int32_t length) {
    uint8_t hi = 0xFF;  // the reference routine's names: hi is the byte sent first
    uint8_t lo = 0xFF;
    if (data == nullptr) {
        return 0xFFFF;
    }
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t index = hi ^ data[i];
        hi = static_cast<uint8_t>(lo ^ kCrcHi[index]);
        lo = kCrcLo[index];
    }
    return static_cast<uint16_t>((hi << 8) | lo);
}
