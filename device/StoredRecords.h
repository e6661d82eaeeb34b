// Reading the records the device stores, in registers: the count, the window positioned once
// and then read record by record. For programs without an operator; the record dialogs keep
// their own reads, with their time-outs, messages and progress.
#pragma once

#include <functional>
#include <vector>

#include "RecordDecoding.h"
#include "RegisterLink.h"

// The registers of one record kind: the count (written 0: delete all), the position (a
// record number, or for voltage records the group) and the window.
struct RecordRegisters {
    uint16_t count = 0;
    uint16_t position = 0;
    uint16_t window = 0;
};
RecordRegisters recordRegisters(RecordKind kind);

inline constexpr int kVoltageGroups = 8;

struct RecordRead {
    enum class Outcome {
        Complete,   // every record the device announced was read
        NoCount,    // the count (or a voltage group's size) was not read
        NotPlaced,  // the window could not be positioned
        Broken,     // a record was not read; `records` holds the ones before it
    };
    Outcome outcome = Outcome::NoCount;
    int count = 0;     // records of the kind the device holds
    int expected = 0;  // records to read: the count, or the size of the voltage group
    std::vector<StoredRecord> records;
};

// Reads every record of `kind` (voltage records: those of `group`, 1..kVoltageGroups) on the
// open port. `progress`, when given, hears of each record read. When `stop`, asked after each
// record, says so, the read ends there as a Broken one with the records read so far.
RecordRead readStoredRecords(const RegisterLink& link, RecordKind kind, int group = 1,
                             const std::function<void(int read, int expected)>& progress = {},
                             const std::function<bool()>& stop = {});
