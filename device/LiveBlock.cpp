// Live block decoding, with the scales of the values the pages show.
#include "LiveBlock.h"

#include "RegisterCoding.h"

namespace {

// Counts per unit. Dividing gives the double nearest the decimal value (3456 is 3.456, where
// 3456 * 0.001 is not), so a number printed in full says what the page shows.
constexpr double kCountsPerVolt = 1000;
constexpr double kCountsPerMilliohm = 100;
constexpr double kCountsPerAmpere = 10;
constexpr double kCountsPerDegree = 10;

CellValues cells(std::span<const uint16_t> regs, uint16_t first, double counts,
                 bool signMagnitude) {
    CellValues values{};
    for (int k = 0; k < kCellCount; ++k) {
        const uint16_t raw = regs[first + k];
        values[static_cast<size_t>(k)] =
            signMagnitude ? signMagnitudeValue(raw, counts) : raw / counts;
    }
    return values;
}

}  // namespace

double signMagnitudeValue(uint16_t raw, double countsPerUnit) {
    const double magnitude = smMagnitude(raw) / countsPerUnit;
    return smNegative(raw) ? -magnitude : magnitude;
}

std::optional<LiveReadings> decodeLiveBlock(std::span<const uint16_t> regs) {
    if (regs.size() < reg::kLiveBlockCount) {
        return std::nullopt;
    }
    LiveReadings live;
    live.voltages = cells(regs, reg::kVoltages, kCountsPerVolt, false);
    live.resistances = cells(regs, reg::kResistances, kCountsPerMilliohm, false);
    live.current = signMagnitudeValue(regs[reg::kCurrent], kCountsPerAmpere);
    live.temperatures = cells(regs, reg::kTemperatures, kCountsPerDegree, true);
    return live;
}
