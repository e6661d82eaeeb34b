// Record decoding and the long-read box's texts, alone: the layouts of the three record
// kinds, the time stamp and cell texts with their edge values, and the time-left estimate.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "ReadProgressText.h"
#include "RecordDecoding.h"

namespace {

// The data bytes of a window read: stamp registers, then the given registers.
std::vector<uint8_t> recordBytes(std::vector<uint16_t> registers) {
    std::vector<uint8_t> bytes;
    for (uint16_t r : registers) {
        bytes.push_back(static_cast<uint8_t>(r >> 8));
        bytes.push_back(static_cast<uint8_t>(r & 0xFF));
    }
    return bytes;
}

std::vector<uint16_t> withChannels(std::vector<uint16_t> head) {
    for (int channel = 1; channel <= kRecordChannels; ++channel) {
        head.push_back(static_cast<uint16_t>(channel * 100 + channel));
    }
    return head;
}

}  // namespace

TEST(RecordDecoding, TimeStampsShowTheDigitsTheirBcdFieldsCode) {
    EXPECT_EQ(timeStampText({0x2013, 0x0518, 0x0930, 0x0700}), "2013/5/18/9/30/7");
    EXPECT_EQ(timeStampText({0x1999, 0x1231, 0x2359, 0x5900}), "1999/12/31/23/59/59");
    EXPECT_EQ(timeStampText({0x2024, 0x0101, 0x0000, 0x0042}), "2024/1/1/0/0/0")
        << "the unused byte stays out";
    // Not BCD: shown as the device sent it, digit by hexadecimal digit.
    EXPECT_EQ(timeStampText({0xFFFF, 0x1AFF, 0x0000, 0xFF00}), "FFFF/1A/FF/0/0/FF");
    EXPECT_EQ(timeStampText({0, 0, 0, 0}), "0/0/0/0/0/0");
}

// A curve sample needs a real moment: 2024-02-29 09:30:07 in local time, and nothing for a
// stamp that is not BCD or names no day.
TEST(RecordDecoding, StampTimesAreRealMomentsOrNothing) {
    std::tm local{};
    local.tm_year = 124;
    local.tm_mon = 1;
    local.tm_mday = 29;
    local.tm_hour = 9;
    local.tm_min = 30;
    local.tm_sec = 7;
    local.tm_isdst = -1;
    EXPECT_EQ(stampTime({0x2024, 0x0229, 0x0930, 0x0700}), std::mktime(&local));
    EXPECT_EQ(stampTime({0x2023, 0x0229, 0x0930, 0x0700}), std::nullopt);  // no 29 Feb
    EXPECT_EQ(stampTime({0x2024, 0x1301, 0x0000, 0x0000}), std::nullopt);  // month 13
    EXPECT_EQ(stampTime({0x2024, 0x0101, 0x0A00, 0x0000}), std::nullopt);  // not BCD
    EXPECT_EQ(stampTime({0x2024, 0x0101, 0x2400, 0x0000}), std::nullopt);  // hour 24
    EXPECT_EQ(stampTime({0x1969, 0x1231, 0x2359, 0x5900}), std::nullopt);
    EXPECT_EQ(stampTime({0x0000, 0x0000, 0x0000, 0x0000}), std::nullopt);  // an empty slot
}

TEST(RecordDecoding, LabelsKindsAndChannelTexts) {
    EXPECT_EQ(recordLabel(1), "记录#1");
    EXPECT_EQ(recordLabel(0), "记录#0");
    EXPECT_EQ(recordLabel(65535), "记录#65535");
    const char* kinds[] = {"温度超上限", "温度超下限", "电压超上限",
                           "电压超下限", "内阻超上限", "电流超上限"};
    for (uint16_t kind = 1; kind <= 6; ++kind) {
        EXPECT_EQ(alarmKindText(kind), kinds[kind - 1]);
    }
    for (uint16_t kind : {0, 7, 0x0100, 0xFFFF}) {
        EXPECT_EQ(alarmKindText(kind), "") << kind;
    }
    EXPECT_EQ(channelText(RecordKind::Voltage, 0), "0.00V");
    EXPECT_EQ(channelText(RecordKind::Voltage, 1234), "12.34V");
    EXPECT_EQ(channelText(RecordKind::Voltage, 65535), "655.35V");
    EXPECT_EQ(channelText(RecordKind::Alarm, 1234), "12.34");
    EXPECT_EQ(channelText(RecordKind::Alarm, 65535), "655.35");
    EXPECT_EQ(channelText(RecordKind::Resistance, 1234), "12.34mΩ");
    EXPECT_EQ(channelText(RecordKind::Resistance, 65535), "655.35mΩ");
    EXPECT_EQ(channelText(RecordKind::Resistance, 1), "0.01mΩ");
}

TEST(RecordDecoding, EachKindHasItsOwnLayoutAndOnlyWholeRecordsDecode) {
    const auto alarm = recordBytes(withChannels({0x1999, 0x1231, 0x2359, 0x5900, 7}));
    ASSERT_EQ(alarm.size(), 90u);
    const auto a = decodeRecord(RecordKind::Alarm, alarm, 3);
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->number, 3);
    EXPECT_EQ(a->alarmKind, 7);
    EXPECT_EQ(a->channels.front(), 101);
    EXPECT_EQ(a->channels.back(), 4040);
    EXPECT_EQ(recordCellText(RecordKind::Alarm, *a, 0), "记录#3");
    EXPECT_EQ(recordCellText(RecordKind::Alarm, *a, 1), "1999/12/31/23/59/59");
    EXPECT_EQ(recordCellText(RecordKind::Alarm, *a, 2), "") << "kind 7 leaves the column empty";
    EXPECT_EQ(recordCellText(RecordKind::Alarm, *a, 3), "1.01");
    EXPECT_EQ(recordCellText(RecordKind::Alarm, *a, 42), "40.40");
    EXPECT_EQ(recordCellText(RecordKind::Alarm, *a, 43), "");

    // The same 88 bytes read as a voltage and as a resistance record: channels from byte 8.
    const auto plain = recordBytes(withChannels({0x2013, 0x0518, 0x0930, 0x0700}));
    ASSERT_EQ(plain.size(), 88u);
    for (RecordKind kind : {RecordKind::Voltage, RecordKind::Resistance}) {
        const auto r = decodeRecord(kind, plain, 1);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(recordCellText(kind, *r, 1), "2013/5/18/9/30/7");
        EXPECT_EQ(r->channels.front(), 101);
        EXPECT_EQ(r->channels.back(), 4040);
        EXPECT_EQ(recordCellText(kind, *r, 42), "");
    }
    const auto v = decodeRecord(RecordKind::Voltage, plain, 1);
    EXPECT_EQ(recordCellText(RecordKind::Voltage, *v, 2), "1.01V");
    EXPECT_EQ(recordCellText(RecordKind::Voltage, *v, 41), "40.40V");
    const auto r = decodeRecord(RecordKind::Resistance, plain, 1);
    EXPECT_EQ(recordCellText(RecordKind::Resistance, *r, 41), "40.40mΩ");

    EXPECT_FALSE(decodeRecord(RecordKind::Alarm, plain, 1)) << "two bytes short";
    EXPECT_FALSE(decodeRecord(RecordKind::Voltage, alarm, 1)) << "two bytes too many";
    EXPECT_FALSE(decodeRecord(RecordKind::Resistance, {}, 1));
    EXPECT_EQ(recordRegisterCount(RecordKind::Alarm), 45);
    EXPECT_EQ(recordReplyLength(RecordKind::Alarm), 95);
    EXPECT_EQ(recordReplyLength(RecordKind::Voltage), 93);
    EXPECT_EQ(recordReplyLength(RecordKind::Resistance), 93);
}

TEST(RecordDecoding, ColumnsAndWidthsOfEachList) {
    const auto voltage = recordColumns(RecordKind::Voltage);
    const auto alarm = recordColumns(RecordKind::Alarm);
    const auto resistance = recordColumns(RecordKind::Resistance);
    ASSERT_EQ(voltage.size(), 42u);
    ASSERT_EQ(alarm.size(), 43u);
    ASSERT_EQ(resistance.size(), 42u);
    for (const auto* columns : {&voltage, &alarm, &resistance}) {
        EXPECT_EQ((*columns)[0].heading, "记录条目");
        EXPECT_EQ((*columns)[0].widthPx, 70);
        EXPECT_EQ((*columns)[1].heading, "时间");
        EXPECT_EQ((*columns)[1].widthPx, 140);
        EXPECT_EQ(columns->back().heading, "通道40");
    }
    EXPECT_EQ(alarm[2].heading, "类型");
    EXPECT_EQ(alarm[2].widthPx, 100);
    EXPECT_EQ(alarm[3].heading, "通道1");
    EXPECT_EQ(alarm[3].widthPx, 60);
    EXPECT_EQ(voltage[2].heading, "通道1");
    EXPECT_EQ(voltage[2].widthPx, 100);
    EXPECT_EQ(resistance[41].widthPx, 60);
}

TEST(ReadProgressText, TimeLeftComesFromTheLineTimeAtTheBaudRate) {
    // A voltage record: 8 request bytes, 93 reply bytes and two 3.5-character gaps.
    EXPECT_DOUBLE_EQ(recordLineSeconds(93, 9600), 108 * 10 / 9600.0);
    EXPECT_EQ(durationText(5000 * recordLineSeconds(93, 9600)), "9 分 23 秒");
    EXPECT_EQ(durationText(5000 * recordLineSeconds(93, 1200)), "1 小时 15 分");
    EXPECT_EQ(recordLineSeconds(93, 0), 0.0);
    EXPECT_EQ(durationText(0), "0 秒");
    EXPECT_EQ(durationText(-3), "0 秒");
    EXPECT_EQ(durationText(0.2), "1 秒") << "a read not yet over never shows 0";
    EXPECT_EQ(durationText(59.5), "1 分 0 秒");
    EXPECT_EQ(durationText(3600), "1 小时 0 分");

    EXPECT_EQ(readProgressText("报警记录", 120, 5000, 545.4),
              "正在读取报警记录\n已读取 120 / 5000 条，预计还需 9 分 6 秒");
    EXPECT_EQ(readProgressText("内阻记录", 0, 7, -1), "正在读取内阻记录\n已读取 0 / 7 条");
}
