// How the operator has asked the bank to be judged, for the life of the program: the
// device's limits and channel masks as last read, the internal-resistance baseline and the change
// bands. The bank page, the resistance record dialog and the report read it; only what the operator
// does changes it. Plain values, no Qt.
#pragma once

#include <optional>
#include <string>

#include "BankAnalysis.h"
#include "DeviceConfig.h"
#include "ResistanceTrend.h"

// One stored resistance test chosen as the reference for every other.
struct ResistanceBaseline {
    analysis::ResistanceRecord record;
    std::string label;  // the record as the operator saw it, e.g. its time "2024/12/27/10/29/53"
};

struct JudgeState {
    std::optional<analysis::Limits> limits;  // as last read from the device
    std::optional<AlarmMasks> masks;         // the channels it watches, read with the limits
    std::optional<ResistanceBaseline> baseline;
    analysis::TrendSettings trend;
    analysis::JudgeSettings judge;
};

// The one state of this program.
JudgeState& judgeState();
// Back to nothing read and nothing chosen (a new device, a test).
void resetJudgeState();
