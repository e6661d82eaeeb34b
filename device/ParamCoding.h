// How the device's configuration values sit in its registers: date and time in BCD,
// temperature limits in sign-and-magnitude bytes, 40-channel alarm masks in 48 bits.
// Pure functions, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr int kMaskChannels = 40;
using ChannelSet = std::array<bool, kMaskChannels>;  // entry n - 1: channel n

// Year, month, day, hour, minute, second as typed, into four registers: BCD of year / 100,
// year % 100, month, day, hour, minute, second, and a zero byte.
std::vector<uint16_t> encodeDateTime(std::span<const int, 6> fields);
// The six texts shown for four such registers: the whole first register with "%X" (both
// year bytes as one number), then each later byte with "%X"; the last byte is unused.
std::array<std::string, 6> dateTimeTexts(std::span<const uint16_t> regs);

// A temperature limit in whole degrees as one byte: bit 7 the sign, bits 0-6 the magnitude.
uint8_t encodeTempLimit(int degrees);
int tempLimitDegrees(uint8_t byte);
std::string tempLimitText(uint8_t byte);

// A channel mask as three registers: channel n is bit n - 1 of the 48-bit big-endian
// number; the top byte is always zero.
std::vector<uint16_t> encodeMask(const ChannelSet& channels);
ChannelSet decodeMask(std::span<const uint16_t> regs);
