// Generation of the simulated device's stored records; deterministic for repeatable tests.
// Each bank has cells of their own character (a weak cell stays weak, an ageing cell keeps
// ageing), values drift with the battery's duty, and alarms come irregularly, often in bursts
// of one kind, with the offending cells beyond their limit.
#include "ModelRecords.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "ModelClock.h"

namespace {

constexpr int kChannels = 40;
constexpr int64_t kMinute = 60;
constexpr int64_t kHour = 60 * kMinute;
constexpr int64_t kDay = 24 * kHour;
// However many records a store holds, its stamps stay within the device's calendar (to 2099).
constexpr int64_t kLongestSpan = 60 * 365 * kDay;

// A small generator (splitmix64): records only need to look varied, but a plain linear
// congruential one repeats visible patterns across the 40 draws of a record.
class Sequence {
  public:
    explicit Sequence(uint64_t seed) : m_state(seed) {}
    int in(int low, int high) {
        m_state += 0x9E3779B97F4A7C15u;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        z ^= z >> 31;
        return low + static_cast<int>(z % static_cast<uint64_t>(high - low + 1));
    }
    bool chance(int percent) { return in(0, 99) < percent; }

  private:
    uint64_t m_state;
};

using Cells = std::array<int, kChannels>;

RecordRegisters stampAt(int64_t seconds) {
    const DateRegisters regs = encodeDateTime(fromEpochSeconds(seconds));
    return RecordRegisters(regs.begin(), regs.end());
}

uint16_t clampRaw(int value) {
    return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF));
}

// Each cell's own offset from the bank's mean, within +-`spread`.
Cells cellOffsets(Sequence& seq, int spread) {
    Cells offsets{};
    for (int& offset : offsets) {
        offset = seq.in(-spread, spread);
    }
    return offsets;
}

// How far apart `count` records of a typical gap `gap` can be: the whole store must fit.
int64_t fittedGap(int count, int64_t gap) {
    return count <= 0 ? gap : std::max<int64_t>(kMinute, std::min(gap, kLongestSpan / count));
}

int storedCount(int count) {
    return std::clamp(count, 0, kMaxStoredRecords);
}

// Cell voltages in 0.01 V: the float level, pulled down by a daily discharge, each cell
// near its own offset, and one weak cell well below the rest.
RecordRegisters voltageRecord(int64_t stamp, int index, const Cells& offsets, int weakCell,
                              Sequence& seq) {
    constexpr int kRecordsPerDay = 144;  // one every ten minutes
    const int phase = index % kRecordsPerDay;
    const int discharged = phase < 36 ? phase * 4 : std::max(0, 144 - (phase - 36) * 2);
    RecordRegisters record = stampAt(stamp);
    for (int cell = 0; cell < kChannels; ++cell) {
        int value = 1335 - discharged + offsets[cell] + seq.in(-3, 3);
        if (cell == weakCell) {
            value -= 55 + discharged / 3;
        }
        record.push_back(clampRaw(value));
    }
    return record;
}

// What an alarm record holds: the alarmed quantity of every cell, normal for most and beyond
// the limit for the one to three cells that raised it.
struct AlarmValues {
    int normalLow;
    int normalHigh;
    int alarmLow;  // equal bounds: no cell stands out (the bank current raised it)
    int alarmHigh;
};

AlarmValues alarmValues(int kind) {
    switch (kind) {
        case 1:
            return {2500, 3500, 4500, 5800};  // temperature upper, 0.01 degC
        case 2:
            return {800, 1500, 0, 300};  // temperature lower
        case 3:
            return {1320, 1380, 1450, 1520};  // voltage upper, 0.01 V
        case 4:
            return {1230, 1300, 1020, 1080};  // voltage lower
        case 5:
            return {300, 550, 900, 1400};  // internal resistance upper, 0.01 mOhm
        default:
            return {1180, 1240, 0, 0};  // bank current upper: the cell voltages under load
    }
}

// Voltage lower alarms are the most common, current alarms the rarest.
int alarmKind(Sequence& seq) {
    constexpr int kWeights[] = {20, 12, 15, 23, 18, 12};  // kinds 1..6, percent
    int pick = seq.in(0, 99);
    for (int kind = 1; kind <= 6; ++kind) {
        pick -= kWeights[kind - 1];
        if (pick < 0) {
            return kind;
        }
    }
    return 4;
}

// Minutes within a burst, hours between episodes, now and then days of quiet.
int64_t alarmGap(Sequence& seq) {
    const int64_t seconds = seq.in(0, 59);
    if (seq.chance(45)) {
        return seq.in(3, 40) * kMinute + seconds;
    }
    if (seq.chance(70)) {
        return seq.in(2, 18) * kHour + seq.in(0, 59) * kMinute + seconds;
    }
    return seq.in(1, 4) * kDay + seq.in(0, 23) * kHour + seconds;
}

// The ageing cell's rise over the store, in 0.01 mOhm: from nothing at the first test to
// 80 % of its start at the last, however many tests there are (with seven: +40 % at the
// fourth, beyond a 20 % warning, and +80 % at the last, beyond a 50 % failure).
int ageingRise(int start, int index, int count) {
    return count > 1 ? static_cast<int>(int64_t{start} * 80 * index / (100 * (count - 1))) : 0;
}

}  // namespace

std::vector<RecordRegisters> makeVoltageRecords(int group, int count) {
    const int n = storedCount(count);
    const int g = std::clamp(group, 1, 8);
    Sequence seq(static_cast<uint64_t>(0x5600 + g));
    const Cells offsets = cellOffsets(seq, 12);
    const int weakCell = seq.in(0, kChannels - 1);
    // Each group is a session of its own: groups start days apart at various hours.
    int64_t stamp = toEpochSeconds(DateTime{2024, 1, 6, 9, 0, 0}) + (g - 1) * 11 * kDay +
                    seq.in(0, 10) * kHour + seq.in(0, 59) * kMinute;
    const int64_t gap = fittedGap(n, 10 * kMinute);
    std::vector<RecordRegisters> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        records.push_back(voltageRecord(stamp, i, offsets, weakCell, seq));
        stamp += gap + seq.in(-20, 20);
    }
    return records;
}

std::vector<RecordRegisters> makeResistanceRecords(int count) {
    const int n = storedCount(count);
    Sequence seq(0x4952);
    Cells base = cellOffsets(seq, 120);
    for (int& value : base) {
        value += 420;  // 3.0 to 5.4 mOhm
    }
    const int ageingCell = seq.in(0, kChannels - 1);
    const int64_t gap = fittedGap(n, kDay);
    int64_t day = toEpochSeconds(DateTime{2023, 11, 1, 2, 0, 0});
    std::vector<RecordRegisters> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        // The test starts at the sampling moment and takes a few minutes over the bank.
        RecordRegisters record = stampAt(day + seq.in(0, 14) * kMinute + seq.in(0, 59));
        for (int cell = 0; cell < kChannels; ++cell) {
            int value = base[cell] + i / 40 + seq.in(-8, 8);
            if (cell == ageingCell) {
                value += 150 + ageingRise(base[cell] + 150, i, n);
            }
            record.push_back(clampRaw(value));
        }
        records.push_back(std::move(record));
        day += gap;
    }
    return records;
}

std::vector<RecordRegisters> makeAlarmRecords(int count) {
    const int n = storedCount(count);
    Sequence seq(0x414C);
    // Gaps average some 16 hours; a large store has them closer.
    constexpr int64_t kMeanGap = 16 * kHour;
    const int64_t fitted = fittedGap(n, kMeanGap);
    int64_t stamp = toEpochSeconds(DateTime{2024, 2, 3, 7, 41, 12});
    int kind = alarmKind(seq);
    std::vector<RecordRegisters> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        RecordRegisters record = stampAt(stamp);
        record.push_back(static_cast<uint16_t>(kind));
        const AlarmValues values = alarmValues(kind);
        const int first = seq.in(0, kChannels - 1);
        const int offenders = values.alarmHigh > values.alarmLow ? seq.in(1, 3) : 0;
        for (int cell = 0; cell < kChannels; ++cell) {
            const bool offending = (cell - first + kChannels) % kChannels < offenders;
            record.push_back(clampRaw(offending ? seq.in(values.alarmLow, values.alarmHigh)
                                                : seq.in(values.normalLow, values.normalHigh)));
        }
        records.push_back(std::move(record));
        stamp += std::max<int64_t>(kMinute, alarmGap(seq) * fitted / kMeanGap);
        if (!seq.chance(30)) {  // an alarm that is raised again keeps its kind
            kind = alarmKind(seq);
        }
    }
    return records;
}
