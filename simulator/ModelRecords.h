// Plausible stored records for the simulated device: increasing BCD time stamps and
// channel values in hundredths of the channel's unit.
#pragma once

#include <vector>

#include "RecordStore.h"

// Largest number of records one store holds: its count register is 16 bits.
inline constexpr int kMaxStoredRecords = 0xFFFF;

// Time stamp + 40 voltages (0.01 V, about 12.5-13.5 V); group 1..8 shifts the dates.
std::vector<RecordRegisters> makeVoltageRecords(int group, int count);
// Time stamp + 40 internal resistances (0.01 mOhm), one test a day.
std::vector<RecordRegisters> makeResistanceRecords(int count);
// Time stamp + alarm kind 1..6 + 40 values of the alarmed quantity (0.01 of its unit).
std::vector<RecordRegisters> makeAlarmRecords(int count);
