// The device's live block, masks and limits as the analysis's inputs.
#include "DeviceJudging.h"

namespace analysis {
namespace {

void fill(OptionalCells& out, const CellValues& in, const ChannelSet* watched, bool zeroIsUnset) {
    for (int k = 0; k < kCellCount; ++k) {
        const bool shown = watched == nullptr || (*watched)[k];
        if (shown && !(zeroIsUnset && in[k] == 0)) {
            out[k] = in[k];
        }
    }
}

int unmeasuredOf(const OptionalCells& values, const ChannelSet* watched) {
    int n = 0;
    for (int k = 0; k < kCellCount; ++k) {
        n += (watched == nullptr || (*watched)[k]) && !values[k] ? 1 : 0;
    }
    return n;
}

std::optional<double> setLimit(double value) {
    return value != 0 ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

BankValues bankValues(const LiveReadings& live, const AlarmMasks* masks) {
    BankValues v;
    fill(v.voltages, live.voltages, masks ? &masks->voltage : nullptr, false);
    fill(v.resistances, live.resistances, masks ? &masks->resistance : nullptr, true);
    fill(v.temperatures, live.temperatures, masks ? &masks->temperature : nullptr, false);
    v.current = live.current;
    return v;
}

BankInput bankInput(const BankValues& values, bool stale) {
    BankInput in;
    in.voltages = values.voltages;
    in.resistances = values.resistances;
    in.temperatures = values.temperatures;
    in.current = values.current;
    in.stale = stale;
    return in;
}

int unmeasuredCells(const BankValues& values, const AlarmMasks* masks) {
    return unmeasuredOf(values.voltages, masks ? &masks->voltage : nullptr) +
           unmeasuredOf(values.resistances, masks ? &masks->resistance : nullptr) +
           unmeasuredOf(values.temperatures, masks ? &masks->temperature : nullptr);
}

VerdictLevel deviceVerdict(const BankReport& report, int unmeasured) {
    const Verdict& v = report.verdict;
    if (v.overLimit > 0) {
        return VerdictLevel::Fail;
    }
    return v.warnings > 0 || unmeasured > 0 || v.stale || !v.judged ? VerdictLevel::Warning
                                                                    : VerdictLevel::Ok;
}

Limits limitsFromDevice(const AlarmLimits& l) {
    Limits out;
    out.voltUpper = setLimit(l.voltUpper);
    out.voltLower = setLimit(l.voltLower);
    out.resistanceUpper = setLimit(l.resistanceUpper);
    out.currentUpper = setLimit(l.currentUpper);
    if (l.tempUpper != 0 || l.tempLower != 0) {
        out.tempUpper = l.tempUpper;
        out.tempLower = l.tempLower;
    }
    return out;
}

}  // namespace analysis
