// Reads of the live block, identity, limits, masks and alarm status.
#include "DeviceReads.h"

#include "DeviceRegisters.h"

namespace {

// `count` registers read `per` at a time from `first` (input registers when `input`).
std::optional<Registers> readInPieces(const RegisterLink& link, bool input, uint16_t first,
                                      uint16_t count, uint16_t per) {
    Registers all;
    for (uint16_t at = first; at < first + count; at += per) {
        const auto piece = link.read(RegisterBlock{input, at, per});
        if (!piece) {
            return std::nullopt;
        }
        all.insert(all.end(), piece->begin(), piece->end());
    }
    return all;
}

}  // namespace

std::optional<LiveReadings> readLive(const RegisterLink& link) {
    const auto regs = link.read(holding(reg::kLiveBlock, reg::kLiveBlockCount));
    return regs ? decodeLiveBlock(*regs) : std::nullopt;
}

std::optional<DeviceIdentity> readIdentity(const RegisterLink& link) {
    const auto regs = link.read(holding(reg::kDeviceInfo, reg::kDeviceInfoCount));
    return regs ? decodeIdentity(*regs) : std::nullopt;
}

std::optional<AlarmLimits> readLimits(const RegisterLink& link) {
    const auto regs = readInPieces(link, false, reg::kLimits, reg::kLimitsCount, 1);
    return regs ? decodeLimits(*regs) : std::nullopt;
}

std::optional<AlarmMasks> readMasks(const RegisterLink& link) {
    const auto regs = readInPieces(link, true, reg::kVoltMask, kMaskBlockCount, reg::kMaskCount);
    return regs ? decodeMasks(*regs) : std::nullopt;
}

std::optional<uint16_t> readAlarmStatus(const RegisterLink& link) {
    const auto regs = link.read(holding(reg::kAlarmStatus));
    return regs ? std::optional<uint16_t>((*regs)[0]) : std::nullopt;
}
