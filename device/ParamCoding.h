// How the device's configuration values sit in its registers: date and time in BCD,
// temperature limits in sign-and-magnitude bytes, 40-channel alarm masks in 48 bits;
// and which typed values those registers cannot hold. Pure functions, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
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

// What a field's register can hold, in the units the check counts (the typed value, or the
// scaled one), and how the operator reads those units: `unitScale` of the unit shown.
struct FieldRange {
    const char* caption;  // the field as the page names it
    long long lowest;
    long long highest;
    double unitScale;  // 0.5 when the check counts half amperes and the operator amperes
    const char* unit;
};
constexpr bool fits(const FieldRange& range, long long value) {
    return value >= range.lowest && value <= range.highest;
}

// Days in `month` (1-12) of `year`, leap years as the Gregorian calendar has them; 0 for a
// month that does not exist.
int daysInMonth(int year, int month);
// The first field of a typed date and time (year, month, day, hour, minute, second) that no
// clock can show, with the range it must lie in.
struct DateTimeFault {
    int field;  // 0 year ... 5 second
    int lowest;
    int highest;
};
std::optional<DateTimeFault> dateTimeFault(std::span<const int, 6> fields);
