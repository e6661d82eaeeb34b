// One poll of one device on the open port: its live block, judged against the limits and
// masks it reported (read at its first poll, when it answers again and every so many polls).
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "DeviceConfig.h"
#include "DeviceJudging.h"
#include "RegisterLink.h"

// What a poll found. A device that is down has no values at all: they are not frozen.
struct DeviceSample {
    bool up = false;
    analysis::BankValues values;                    // up: the cells the device watches, the current
    std::optional<analysis::VerdictLevel> verdict;  // up
    bool limitsKnown = false;                       // up: judged against the device's limits
    double pollSeconds = 0;                         // how long the poll took
    std::chrono::system_clock::time_point time;     // when it ended
};

// What the gateway remembers of a device between polls.
struct DeviceMemory {
    std::optional<AlarmLimits> limits;
    std::optional<AlarmMasks> masks;
    int pollsSinceLimits = 0;
    bool wasUp = false;
};

// Polls the device at LinkSettings::deviceAddress on the open port behind `link`. The limits
// and masks are read again when the device was down, when they are unknown, or after
// `limitsEvery` polls; a failed read of them keeps the ones known.
DeviceSample pollDevice(const RegisterLink& link, DeviceMemory& memory, int limitsEvery);

// A sample for a device that could not be asked (its port did not open).
DeviceSample unreachable(DeviceMemory& memory);
