// Record decoding and the texts of a record's row.
#include "RecordDecoding.h"

#include <iterator>

#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

constexpr int kStampRegisters = 4;
constexpr int kReadReplyOverhead = 5;  // address, function, byte count, CRC
constexpr int kLabelColumn = 0;
constexpr int kTimeColumn = 1;

constexpr ValueFormat kRecordVoltage{0.01, "%.2fV", nullptr};
constexpr ValueFormat kAlarmValue{0.01, "%.2f", nullptr};
constexpr ValueFormat kRecordResistance{0.01, "%.2fmΩ", nullptr};

constexpr const char* kAlarmKinds[] = {"温度超上限", "温度超下限", "电压超上限",
                                       "电压超下限", "内阻超上限", "电流超上限"};

uint16_t wordAt(std::span<const uint8_t> data, size_t reg) {
    return static_cast<uint16_t>((data[2 * reg] << 8) | data[2 * reg + 1]);
}

int firstChannelColumn(RecordKind kind) {
    return kind == RecordKind::Alarm ? 3 : 2;
}

std::string hexText(unsigned value) {
    return formatText("%X", value);
}

}  // namespace

uint16_t recordRegisterCount(RecordKind kind) {
    return kind == RecordKind::Alarm ? 45 : 44;
}

int recordReplyLength(RecordKind kind) {
    return 2 * recordRegisterCount(kind) + kReadReplyOverhead;
}

std::optional<StoredRecord> decodeRecord(RecordKind kind, std::span<const uint8_t> data,
                                         int number) {
    if (data.size() != 2u * recordRegisterCount(kind)) {
        return std::nullopt;
    }
    StoredRecord record;
    record.number = number;
    for (int i = 0; i < kStampRegisters; ++i) {
        record.stamp[i] = wordAt(data, i);
    }
    size_t reg = kStampRegisters;
    if (kind == RecordKind::Alarm) {
        record.alarmKind = wordAt(data, reg++);
    }
    for (uint16_t& channel : record.channels) {
        channel = wordAt(data, reg++);
    }
    return record;
}

std::string timeStampText(const std::array<uint16_t, 4>& stamp) {
    const std::string year = hexText(stamp[0]);
    const std::string month = hexText(stamp[1] >> 8);
    const std::string day = hexText(stamp[1] & 0xFFu);
    const std::string hour = hexText(stamp[2] >> 8);
    const std::string minute = hexText(stamp[2] & 0xFFu);
    const std::string second = hexText(stamp[3] >> 8);
    return formatText("%s/%s/%s/%s/%s/%s", year.c_str(), month.c_str(), day.c_str(), hour.c_str(),
                      minute.c_str(), second.c_str());
}

std::string recordLabel(int number) {
    return formatText("记录#%d", number);
}

std::string alarmKindText(uint16_t kind) {
    return kind >= 1 && kind <= std::size(kAlarmKinds) ? kAlarmKinds[kind - 1] : "";
}

std::string channelText(RecordKind kind, uint16_t raw) {
    switch (kind) {
        case RecordKind::Voltage:
            return formatValue(kRecordVoltage, raw);
        case RecordKind::Alarm:
            return formatValue(kAlarmValue, raw);
        case RecordKind::Resistance:
            break;
    }
    return formatValue(kRecordResistance, raw);
}

std::vector<RecordColumn> recordColumns(RecordKind kind) {
    std::vector<RecordColumn> columns{{"记录条目", 70}, {"时间", 140}};
    if (kind == RecordKind::Alarm) {
        columns.push_back({"类型", 100});
    }
    const int channelWidth = kind == RecordKind::Voltage ? 100 : 60;
    for (int channel = 1; channel <= kRecordChannels; ++channel) {
        columns.push_back({formatText("通道%d", channel), channelWidth});
    }
    return columns;
}

std::string recordCellText(RecordKind kind, const StoredRecord& record, int column) {
    if (column == kLabelColumn) {
        return recordLabel(record.number);
    }
    if (column == kTimeColumn) {
        return timeStampText(record.stamp);
    }
    if (kind == RecordKind::Alarm && column == 2) {
        return alarmKindText(record.alarmKind);
    }
    const int channel = column - firstChannelColumn(kind);
    if (channel < 0 || channel >= kRecordChannels) {
        return {};
    }
    return channelText(kind, record.channels[static_cast<size_t>(channel)]);
}
