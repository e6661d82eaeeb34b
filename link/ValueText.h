// How live register values become text: scale, format, and sign-and-magnitude coding.
// Pure functions, no Qt.
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

// Live register map.
inline constexpr uint16_t kVoltageRegister = 0x0000;
inline constexpr uint16_t kResistanceRegister = 0x0028;
inline constexpr uint16_t kCurrentRegister = 0x0050;
inline constexpr uint16_t kTemperatureRegister = 0x0051;
inline constexpr uint16_t kLiveRegisterCount = 121;
inline constexpr int kCellCount = 40;
