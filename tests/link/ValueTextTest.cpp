// Texts of live values: scaling in double precision, sign and magnitude, units.
#include <gtest/gtest.h>

#include "ValueText.h"

TEST(ValueText, VoltagesKeepTheDoubleProductsRounding) {
    // 1005 * 0.001 is 1.0050000000000001, so two decimals round up; 1005 / 1000 would not.
    EXPECT_EQ(formatValue(kCellVoltage, 1005), "1.01V");
    EXPECT_EQ(formatValue(kBankVoltage, 1005), "1.005V");
    EXPECT_EQ(formatValue(kCellVoltage, 3456), "3.46V");
    EXPECT_EQ(formatValue(kBankVoltage, 3456), "3.456V");
    EXPECT_EQ(formatValue(kBankVoltage, 65535), "65.535V");
    EXPECT_EQ(formatValue(kBankVoltage, 0), "0.000V");
}

TEST(ValueText, SignAndMagnitude) {
    EXPECT_EQ(formatValue(kBankCurrent, 0), "0.0A");
    EXPECT_EQ(formatValue(kBankCurrent, 0x8000), "-0.0A");
    EXPECT_EQ(formatValue(kBankCurrent, 32968), "-20.0A");
    EXPECT_EQ(formatValue(kBankCurrent, 200), "20.0A");
    EXPECT_EQ(formatValue(kPlainCurrent, 123), "12.3");
    EXPECT_EQ(formatValue(kPlainCurrent, 0x8000 | 123), "-12.3");
    EXPECT_EQ(formatValue(kPlainCurrent, 0x8000), "-0.0");
    EXPECT_EQ(formatValue(kPlainCurrent, 0xFFFF), "-3276.7");
    EXPECT_EQ(formatValue(kTemperature, 0x8000 | 50), "-5.0℃");
    EXPECT_EQ(formatValue(kTemperature, 0x8000 | 75), "-7.5℃");
    EXPECT_EQ(formatValue(kTemperature, 253), "25.3℃");
}

TEST(ValueText, ResistanceAndLabels) {
    EXPECT_EQ(formatValue(kResistance, 125), "1.25mΩ");
    EXPECT_EQ(formatValue(kResistance, 0x8000), "327.68mΩ");  // unsigned: bit 15 is a value
    EXPECT_EQ(channelLabel(1), "通道#1");
    EXPECT_EQ(channelLabel(40), "通道#40");
}
