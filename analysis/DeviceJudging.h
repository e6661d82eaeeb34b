// The device's own values turned into the analysis's inputs, so the bank page, the command
// line, the gateway and the report judge a reading the same way. Pure, no Qt, no I/O.
#pragma once

#include <array>
#include <optional>

#include "BankAnalysis.h"
#include "DeviceConfig.h"
#include "LiveBlock.h"
#include "ResistanceTrend.h"

namespace analysis {

using OptionalCells = std::array<std::optional<double>, kCellCount>;

// One live reading as optional values: a channel the device does not watch (masks known and
// its bit clear) has no value, and a resistance of 0 mOhm was not measured.
struct BankValues {
    OptionalCells voltages;
    OptionalCells resistances;
    OptionalCells temperatures;
    std::optional<double> current;
};
BankValues bankValues(const LiveReadings& live, const AlarmMasks* masks = nullptr);

// A view of `values` for assessBank; `values` must outlive the returned input.
BankInput bankInput(const BankValues& values, bool stale = false);

// Channels the device watches that have no value; without masks, every channel without one.
int unmeasuredCells(const BankValues& values, const AlarmMasks* masks);

// A device's verdict on its reading: the bank's, except that a channel its masks leave out is
// not missing, so a short string is no warning for its empty places. Fail over a limit;
// warning in a warning band, with a watched channel unmeasured, a stale reading, or nothing
// judged against a limit.
VerdictLevel deviceVerdict(const BankReport& report, int unmeasured);

// The limits as the device applies them. An upper limit of 0 (voltage, resistance,
// current) or a voltage lower limit of 0 is a limit left unset and is not applied; the
// temperature limits are applied unless both are 0.
Limits limitsFromDevice(const AlarmLimits& limits);

}  // namespace analysis
