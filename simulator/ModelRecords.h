// Plausible stored records for the simulated device: increasing BCD time stamps, irregular
// where a real device's would be, and channel values in hundredths of the channel's unit.
#pragma once

#include <vector>

#include "RecordStore.h"

// Largest number of records one store holds: its count register is 16 bits.
inline constexpr int kMaxStoredRecords = 0xFFFF;

// Time stamp + 40 voltages (0.01 V, about 11.9-13.5 V, one weak cell lower), ten minutes
// apart through daily discharges; each group 1..8 is a session of its own.
std::vector<RecordRegisters> makeVoltageRecords(int group, int count);
// Time stamp + 40 internal resistances (0.01 mOhm, 3-5.5 mOhm, slowly ageing), one test a
// day; one ageing cell rises by 80 % from the first test to the last.
std::vector<RecordRegisters> makeResistanceRecords(int count);
// Time stamp + alarm kind 1..6 + 40 values of the alarmed quantity (0.01 of its unit), one
// to three cells beyond the limit; minutes to days apart, kinds repeating in bursts.
std::vector<RecordRegisters> makeAlarmRecords(int count);
