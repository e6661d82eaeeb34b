// Generation of the simulated device's stored records; deterministic for repeatable tests.
#include "ModelRecords.h"

#include <algorithm>
#include <cstdint>

#include "ModelClock.h"

namespace {

constexpr int kChannels = 40;

// A small linear congruential generator: records only need to look varied.
class Sequence {
  public:
    explicit Sequence(uint32_t seed) : m_state(seed) {}
    int in(int low, int high) {
        m_state = m_state * 1664525u + 1013904223u;
        return low + static_cast<int>((m_state >> 8) % static_cast<uint32_t>(high - low + 1));
    }

  private:
    uint32_t m_state;
};

RecordRegisters stampAt(int64_t seconds) {
    const DateRegisters regs = encodeDateTime(fromEpochSeconds(seconds));
    return RecordRegisters(regs.begin(), regs.end());
}

void appendChannels(RecordRegisters& record, Sequence& seq, int low, int high) {
    for (int channel = 0; channel < kChannels; ++channel) {
        record.push_back(static_cast<uint16_t>(seq.in(low, high)));
    }
}

struct ValueRange {
    int low;
    int high;
};

// Channel values of an alarm of `kind`: temperatures, resistances or voltages.
ValueRange alarmValueRange(int kind) {
    switch (kind) {
        case 1:
            return {4000, 5500};  // 40-55 degC
        case 2:
            return {0, 1000};  // 0-10 degC (magnitudes of a cold room)
        case 5:
            return {250, 1200};  // 2.5-12 mOhm
        default:
            return {1050, 1450};  // 10.5-14.5 V
    }
}

// `count` records `spacing` seconds apart (plus up to a minute of jitter, so stamps still
// increase), each a time stamp that `fill` completes.
template <typename Fill>
std::vector<RecordRegisters> makeRecords(int count, int64_t start, int64_t spacing, Sequence& seq,
                                         Fill fill) {
    const int n = std::clamp(count, 0, kMaxStoredRecords);
    std::vector<RecordRegisters> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        RecordRegisters record = stampAt(start + int64_t{i} * spacing + seq.in(0, 59));
        fill(record, i);
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace

std::vector<RecordRegisters> makeVoltageRecords(int group, int count) {
    const DateTime first{2024, 3, std::clamp(group, 1, 28), 8, 0, 0};
    Sequence seq(static_cast<uint32_t>(0x5600 + group));
    return makeRecords(
        count, toEpochSeconds(first), 600, seq,
        [&seq](RecordRegisters& record, int) { appendChannels(record, seq, 1250, 1350); });
}

std::vector<RecordRegisters> makeResistanceRecords(int count) {
    Sequence seq(0x4952);
    return makeRecords(
        count, toEpochSeconds(DateTime{2024, 1, 1, 2, 0, 0}), 86400, seq,
        [&seq](RecordRegisters& record, int) { appendChannels(record, seq, 250, 600); });
}

std::vector<RecordRegisters> makeAlarmRecords(int count) {
    Sequence seq(0x414C);
    return makeRecords(count, toEpochSeconds(DateTime{2024, 2, 1, 0, 0, 0}), 11820, seq,
                       [&seq](RecordRegisters& record, int i) {
                           const int kind = 1 + i % 6;
                           record.push_back(static_cast<uint16_t>(kind));
                           const ValueRange range = alarmValueRange(kind);
                           appendChannels(record, seq, range.low, range.high);
                       });
}
