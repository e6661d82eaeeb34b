// Register coding of the system parameter page: date and time in BCD, temperature limit
// bytes, and the 48-bit channel masks, both ways.
#include <gtest/gtest.h>

#include <climits>

#include "ParamRefusal.h"

namespace {
ChannelSet only(std::initializer_list<int> channels) {
    ChannelSet set{};
    for (int n : channels) {
        set[static_cast<size_t>(n - 1)] = true;
    }
    return set;
}
}  // namespace

TEST(ParamCoding, DateTimeGoesOutAsBcdAndComesBackAsTyped) {
    const int typed[] = {2024, 5, 6, 7, 8, 9};
    EXPECT_EQ(encodeDateTime(typed), (std::vector<uint16_t>{0x2024, 0x0506, 0x0708, 0x0900}));
    const auto texts = dateTimeTexts(std::vector<uint16_t>{0x2024, 0x0506, 0x0708, 0x09FF});
    EXPECT_EQ(texts, (std::array<std::string, 6>{"2024", "5", "6", "7", "8", "9"}));
    // A byte that is no BCD shows its hexadecimal digits; too few registers show nothing.
    EXPECT_EQ(dateTimeTexts(std::vector<uint16_t>{0x0001, 0x1A00, 0, 0})[1], "1A");
    EXPECT_EQ(dateTimeTexts(std::vector<uint16_t>{0x2024})[0], "");
    const int extreme[] = {INT_MIN, -1, 99, 100, INT_MAX, 0};  // kept to bytes, no crash
    EXPECT_EQ(encodeDateTime(extreme).size(), 4u);
}

TEST(ParamCoding, TemperatureLimitsAreSignAndMagnitudeBytes) {
    EXPECT_EQ(encodeTempLimit(45), 0x2D);
    EXPECT_EQ(encodeTempLimit(-20), 0x94);
    EXPECT_EQ(encodeTempLimit(0), 0x00);
    EXPECT_EQ(encodeTempLimit(-200), static_cast<uint8_t>(200 + 0x80));
    EXPECT_EQ(encodeTempLimit(INT_MIN), 0x80);  // no overflow on the way
    EXPECT_EQ(tempLimitText(0x2D), "45");
    EXPECT_EQ(tempLimitText(0x94), "-20");
    EXPECT_EQ(tempLimitText(0x80), "0");
    EXPECT_EQ(tempLimitText(0xFF), "-127");
}

TEST(ParamCoding, ChannelNIsBitNMinusOneOfThe48BitMask) {
    EXPECT_EQ(encodeMask(only({1})), (std::vector<uint16_t>{0x0000, 0x0000, 0x0001}));
    EXPECT_EQ(encodeMask(only({9})), (std::vector<uint16_t>{0x0000, 0x0000, 0x0100}));
    EXPECT_EQ(encodeMask(only({40})), (std::vector<uint16_t>{0x0080, 0x0000, 0x0000}));
    ChannelSet all{};
    all.fill(true);
    EXPECT_EQ(encodeMask(all), (std::vector<uint16_t>{0x00FF, 0xFFFF, 0xFFFF}));
    // The top byte is ignored when read.
    EXPECT_EQ(decodeMask(std::vector<uint16_t>{0x7F00, 0x0000, 0x0001}), only({1}));
    const ChannelSet some = only({2, 17, 24, 33, 40});
    EXPECT_EQ(decodeMask(encodeMask(some)), some);
    EXPECT_EQ(decodeMask(std::vector<uint16_t>{0xFFFF}), ChannelSet{});
}

// The refusal names the field and its range in the operator's unit; the bounds fit.
TEST(ParamCoding, AValueOutsideItsRegisterIsRefusedByName) {
    const FieldRange halves{"电流传感器量程", 0, 0xFFFF, 0.5, "A"};
    EXPECT_FALSE(rangeRefusal(halves, 0));
    EXPECT_FALSE(rangeRefusal(halves, 0xFFFF));
    EXPECT_EQ(rangeRefusal(halves, 0x10000),
              "电流传感器量程超出设备可保存的范围（0~32767.5A），未发送");
    EXPECT_TRUE(rangeRefusal(halves, -1));
    EXPECT_TRUE(rangeRefusal(halves, LLONG_MIN));
    const FieldRange degrees{"温度下限值", -127, 127, 1, "℃"};
    EXPECT_FALSE(rangeRefusal(degrees, -127));
    EXPECT_EQ(rangeRefusal(degrees, -128), "温度下限值超出设备可保存的范围（-127~127℃），未发送");
    const FieldRange tenths{"电池内阻上限报警阀值", 0, 0xFFFF, 0.1, "毫欧"};
    EXPECT_EQ(rangeRefusal(tenths, 65536),
              "电池内阻上限报警阀值超出设备可保存的范围（0~6553.5毫欧），未发送");
}

TEST(ParamCoding, MonthsHaveTheirDaysAndFebruaryItsLeapYears) {
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(2023, 2), 28);
    EXPECT_EQ(daysInMonth(1900, 2), 28);  // a century is no leap year...
    EXPECT_EQ(daysInMonth(2000, 2), 29);  // ...unless it divides by 400
    EXPECT_EQ(daysInMonth(2025, 4), 30);
    EXPECT_EQ(daysInMonth(2025, 12), 31);
    EXPECT_EQ(daysInMonth(2025, 0), 0);
    EXPECT_EQ(daysInMonth(2025, 13), 0);
}

TEST(ParamCoding, AnImpossibleDateTimeNamesItsFirstBadField) {
    const auto faultOf = [](std::array<int, 6> f) { return dateTimeFault(f); };
    EXPECT_FALSE(faultOf({2024, 2, 29, 23, 59, 59}));
    EXPECT_FALSE(faultOf({0, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(faultOf({9999, 12, 31, 0, 0, 0}));
    struct Case {
        std::array<int, 6> fields;
        int field, lowest, highest;
    };
    const Case cases[] = {
        {{2023, 2, 29, 0, 0, 0}, 2, 1, 28},
        {{2024, 4, 31, 0, 0, 0}, 2, 1, 30},
        {{2024, 1, 0, 0, 0, 0}, 2, 1, 31},
        {{2024, 0, 0, 0, 0, 0}, 1, 1, 12},
        {{2024, 13, 1, 0, 0, 0}, 1, 1, 12},
        {{2024, 1, 1, 24, 0, 0}, 3, 0, 23},
        {{2024, 1, 1, -1, 0, 0}, 3, 0, 23},
        {{2024, 1, 1, 0, 60, 0}, 4, 0, 59},
        {{2024, 1, 1, 0, 0, 60}, 5, 0, 59},
        {{10000, 1, 1, 0, 0, 0}, 0, 0, 9999},
        {{INT_MIN, INT_MIN, 1, 0, 0, 0}, 0, 0, 9999},
    };
    for (const Case& c : cases) {
        const auto fault = faultOf(c.fields);
        ASSERT_TRUE(fault) << c.fields[0] << "-" << c.fields[1] << "-" << c.fields[2];
        EXPECT_EQ(fault->field, c.field);
        EXPECT_EQ(fault->lowest, c.lowest);
        EXPECT_EQ(fault->highest, c.highest);
    }
    EXPECT_EQ(dateTimeRefusal("系统时间", {2, 1, 28}),
              "系统时间的“日”超出有效范围（1~28），未发送");
}
