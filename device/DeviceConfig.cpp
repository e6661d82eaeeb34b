// Identity, limits and masks from their registers.
#include "DeviceConfig.h"

#include "RegisterCoding.h"

namespace {
constexpr double kVoltLimitCounts = 10;  // per volt
constexpr double kIrLimitCounts = 10;    // per milliohm
}  // namespace

std::optional<DeviceIdentity> decodeIdentity(std::span<const uint16_t> regs) {
    if (regs.size() < reg::kDeviceInfoCount) {
        return std::nullopt;
    }
    return DeviceIdentity{regs[0], regs[1], regs[2]};
}

std::string versionText(int version) {
    return formatText("Ver%0.2f", version * 0.01);
}

std::optional<AlarmLimits> decodeLimits(std::span<const uint16_t> regs) {
    if (regs.size() < reg::kLimitsCount) {
        return std::nullopt;
    }
    const uint16_t temp = regs[reg::kTempLimits - reg::kLimits];
    const uint16_t volt = regs[reg::kVoltLimits - reg::kLimits];
    AlarmLimits limits;
    limits.tempUpper = tempLimitDegrees(static_cast<uint8_t>(temp >> 8));
    limits.tempLower = tempLimitDegrees(static_cast<uint8_t>(temp & 0xFF));
    limits.voltUpper = (volt >> 8) / kVoltLimitCounts;
    limits.voltLower = (volt & 0xFF) / kVoltLimitCounts;
    limits.resistanceUpper = regs[reg::kIrLimit - reg::kLimits] / kIrLimitCounts;
    limits.currentUpper = regs[reg::kCurrentLimit - reg::kLimits];
    return limits;
}

std::optional<AlarmMasks> decodeMasks(std::span<const uint16_t> regs) {
    if (regs.size() < kMaskBlockCount) {
        return std::nullopt;
    }
    const auto mask = [&](uint16_t first) {
        return decodeMask(regs.subspan(first - reg::kVoltMask, reg::kMaskCount));
    };
    return AlarmMasks{mask(reg::kVoltMask), mask(reg::kIrMask), mask(reg::kTempMask)};
}
