// The device's record sequence: count, position, then one window read a record.
#include "StoredRecords.h"

#include "DeviceRegisters.h"

RecordRegisters recordRegisters(RecordKind kind) {
    switch (kind) {
        case RecordKind::Voltage:
            return {reg::kVoltageRecords, reg::kVoltageGroup, reg::kVoltageWindow};
        case RecordKind::Alarm:
            return {reg::kAlarmRecords, reg::kAlarmPosition, reg::kAlarmWindow};
        case RecordKind::Resistance:
            break;
    }
    return {reg::kResistanceRecords, reg::kResistancePosition, reg::kResistanceWindow};
}

namespace {

using Outcome = RecordRead::Outcome;

// Positions the window; gives the number of records it will hand out, or nullopt with
// `read.outcome` saying what failed.
std::optional<int> placeWindow(const RegisterLink& link, RecordKind kind, int group,
                               RecordRead& read) {
    const RecordRegisters regs = recordRegisters(kind);
    if (kind != RecordKind::Voltage) {
        if (!link.writeRegister(regs.position, 1)) {
            read.outcome = Outcome::NotPlaced;
            return std::nullopt;
        }
        return read.count;
    }
    if (!link.writeRegister(regs.position, static_cast<uint16_t>(group))) {
        read.outcome = Outcome::NotPlaced;
        return std::nullopt;
    }
    const auto size = link.readHolding(reg::kVoltageGroupSize, 1);
    if (!size) {
        read.outcome = Outcome::NoCount;
        return std::nullopt;
    }
    return (*size)[0];
}

}  // namespace

RecordRead readStoredRecords(const RegisterLink& link, RecordKind kind, int group,
                             const std::function<void(int, int)>& progress,
                             const std::function<bool()>& stop) {
    RecordRead read;
    const auto count = link.readHolding(recordRegisters(kind).count, 1);
    if (!count) {
        return read;
    }
    read.count = (*count)[0];
    read.outcome = Outcome::Complete;
    if (read.count == 0) {
        return read;  // nothing to position: an empty store is a complete answer
    }
    const auto expected = placeWindow(link, kind, group, read);
    if (!expected) {
        return read;
    }
    read.expected = *expected;
    const uint16_t window = recordRegisters(kind).window;
    for (int number = 1; number <= read.expected; ++number) {
        const auto data = link.readHoldingBytes(window, recordRegisterCount(kind));
        const auto record = data ? decodeRecord(kind, *data, number) : std::nullopt;
        if (!record) {
            read.outcome = Outcome::Broken;
            return read;
        }
        read.records.push_back(*record);
        if (progress) {
            progress(number, read.expected);
        }
        if (stop && number < read.expected && stop()) {
            read.outcome = Outcome::Broken;
            return read;
        }
    }
    return read;
}
