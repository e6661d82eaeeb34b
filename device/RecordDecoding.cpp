// Record decoding and the texts of a record's row.
#include "RecordDecoding.h"

#include <ctime>
#include <iterator>
#include <limits>

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

// A BCD field of `digits` digits, or -1 when a digit is not 0-9.
int bcdValue(unsigned field, int digits) {
    int value = 0;
    for (int i = digits - 1; i >= 0; --i) {
        const unsigned digit = (field >> (4 * i)) & 0xFu;
        if (digit > 9) {
            return -1;
        }
        value = value * 10 + static_cast<int>(digit);
    }
    return value;
}

int daysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
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

std::optional<StampFields> stampFields(const std::array<uint16_t, 4>& stamp) {
    StampFields f{bcdValue(stamp[0], 4),         bcdValue(stamp[1] >> 8, 2),
                  bcdValue(stamp[1] & 0xFFu, 2), bcdValue(stamp[2] >> 8, 2),
                  bcdValue(stamp[2] & 0xFFu, 2), bcdValue(stamp[3] >> 8, 2)};
    return f.year >= 1970 && isDateTime(f) ? std::optional(f) : std::nullopt;
}

bool isDateTime(const StampFields& f) {
    return f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= daysInMonth(f.year, f.month) &&
           f.hour >= 0 && f.hour < 24 && f.minute >= 0 && f.minute < 60 && f.second >= 0 &&
           f.second < 60;
}

std::optional<int32_t> stampTime(const std::array<uint16_t, 4>& stamp) {
    const auto f = stampFields(stamp);
    if (!f) {
        return std::nullopt;
    }
    std::tm local{};
    local.tm_year = f->year - 1900;
    local.tm_mon = f->month - 1;
    local.tm_mday = f->day;
    local.tm_hour = f->hour;
    local.tm_min = f->minute;
    local.tm_sec = f->second;
    local.tm_isdst = -1;  // the zone's rules decide
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1) || t < 0 || t > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(t);
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
