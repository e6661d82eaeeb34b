// How register values become text: each value format (scale, printf format with its unit,
// sign and magnitude or unsigned) beside the one function that applies it. Pure, no Qt.
#pragma once

#include <cstdint>
#include <string>

struct ValueFormat {
    double scale;
    const char* format;          // for values without bit 15, or for unsigned registers
    const char* negativeFormat;  // sign and magnitude when set; null: the register is unsigned
};

inline constexpr ValueFormat kBankVoltage{0.001, "%.3fV", nullptr};
inline constexpr ValueFormat kCellVoltage{0.001, "%.2fV", nullptr};
inline constexpr ValueFormat kResistance{0.01, "%.2fmΩ", nullptr};
inline constexpr ValueFormat kTemperature{0.1, "%.1f℃", "-%.1f℃"};
inline constexpr ValueFormat kBankCurrent{0.1, "%.1fA", "-%.1fA"};
inline constexpr ValueFormat kPlainCurrent{0.1, "%.1f", "-%.1f"};

std::string formatValue(const ValueFormat& format, uint16_t value);

// "通道#n"
std::string channelLabel(int cell);
