// Limits into the judge state, read whole or taken over one register at a time.
#include "JudgeLimits.h"

#include <array>

#include "DeviceJudging.h"
#include "DevicePort.h"
#include "DeviceReads.h"
#include "Dialog.h"
#include "JudgeState.h"
#include "Strings.h"

bool readJudgeLimits(CDialog& page) {
    PortSession port;
    if (!port) {
        return false;
    }
    const auto limits = readLimits(port);
    const auto masks = limits ? readMasks(port) : std::nullopt;
    if (!limits || !masks) {
        page.messageBox(kMsgReadFailed);
        return false;
    }
    judgeState().limits = analysis::limitsFromDevice(*limits);
    judgeState().masks = masks;
    return true;
}

void rememberLimitRegister(uint16_t reg, uint16_t value) {
    if (reg < reg::kLimits || reg >= reg::kLimits + reg::kLimitsCount) {
        return;
    }
    // The other registers as 0 decode as unset limits, and only this register's are kept.
    std::array<uint16_t, reg::kLimitsCount> regs{};
    regs[reg - reg::kLimits] = value;
    const auto decoded = decodeLimits(regs);
    if (!decoded) {
        return;
    }
    const analysis::Limits read = analysis::limitsFromDevice(*decoded);
    analysis::Limits& known =
        judgeState().limits.emplace(judgeState().limits.value_or(analysis::Limits{}));
    switch (reg) {
        case reg::kTempLimits:
            known.tempUpper = read.tempUpper;
            known.tempLower = read.tempLower;
            break;
        case reg::kVoltLimits:
            known.voltUpper = read.voltUpper;
            known.voltLower = read.voltLower;
            break;
        case reg::kIrLimit:
            known.resistanceUpper = read.resistanceUpper;
            break;
        default:
            known.currentUpper = read.currentUpper;
            break;
    }
}
