// Stored records as the device hands them out, one record window read at a time: decoding
// of the data bytes and the texts of a record's row. Pure functions, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr int kRecordChannels = 40;

// The three kinds of record the list dialogs show; each has its own layout and cell texts.
enum class RecordKind { Voltage, Alarm, Resistance };

// One record as read: the four time-stamp registers, the alarm kind (alarm records only)
// and the 40 channel values in hundredths of the channel's unit. Texts are made from it only
// when a row is shown, so a long list keeps 96 bytes a record.
struct StoredRecord {
    int number = 0;  // the number in the row's label
    std::array<uint16_t, 4> stamp{};
    uint16_t alarmKind = 0;
    std::array<uint16_t, kRecordChannels> channels{};
};

// Registers of one record window read: 44, or 45 for alarm records.
uint16_t recordRegisterCount(RecordKind kind);
// The length of the reply to a record window read (header and CRC included).
int recordReplyLength(RecordKind kind);
// The record in the data bytes of a window read; nullopt when they are not one whole record.
std::optional<StoredRecord> decodeRecord(RecordKind kind, std::span<const uint8_t> data,
                                         int number);

// "2013/5/18/9/30/7": year, month, day, hour, minute and second, each BCD field written with
// "%X" so that it shows the decimal digits it codes.
std::string timeStampText(const std::array<uint16_t, 4>& stamp);
// The stamp's fields as numbers, when every field is valid BCD and a real date and time.
struct StampFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// Month, day and time name a real moment of that year (Gregorian calendar, no leap seconds).
bool isDateTime(const StampFields& f);
std::optional<StampFields> stampFields(const std::array<uint16_t, 4>& stamp);
// The moment the stamp names, in local time, as seconds since 1970; nullopt when it names
// none (bad BCD, no such date, or outside what 32-bit time holds).
std::optional<int32_t> stampTime(const std::array<uint16_t, 4>& stamp);

// "记录#12"
std::string recordLabel(int number);
// The text of alarm kinds 1-6; empty for any other value.
std::string alarmKindText(uint16_t kind);
// A channel value: "12.34V", "12.34" (alarm records) or "12.34mΩ".
std::string channelText(RecordKind kind, uint16_t raw);

struct RecordColumn {
    std::string heading;
    int widthPx;
};
// The list columns: label, time, (alarm kind,) channels 1-40.
std::vector<RecordColumn> recordColumns(RecordKind kind);
// The text of `column` in the row of `record`; empty past the last column.
std::string recordCellText(RecordKind kind, const StoredRecord& record, int column);
