// The live block as numbers: 40 cell voltages (V), resistances (mOhm), temperatures (degC)
// and the bank current (A), scaled and signed as the pages show them. Pure, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "DeviceRegisters.h"

using CellValues = std::array<double, kCellCount>;

struct LiveReadings {
    CellValues voltages{};
    CellValues resistances{};
    CellValues temperatures{};
    double current = 0;
};

// Sign and magnitude in units: bit 15 negates the magnitude, so 0x8000 is -0.0 (the page's
// "-0.0").
double signMagnitudeValue(uint16_t raw, double countsPerUnit);

// The 121 registers of reg::kLiveBlock; nullopt for fewer (more are ignored).
std::optional<LiveReadings> decodeLiveBlock(std::span<const uint16_t> regs);
