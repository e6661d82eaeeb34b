// Register coding of the system parameter page: date and time in BCD, temperature limit
// bytes, and the 48-bit channel masks, both ways.
#include <gtest/gtest.h>

#include <climits>

#include "ParamCoding.h"

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
