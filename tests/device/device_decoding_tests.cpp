// The device's values decoded from known registers: the live block at its 40-cell
// boundaries and in sign and magnitude, agreeing with the texts the pages show for every
// register value; the identity, the limits and the masks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "DeviceConfig.h"
#include "LiveBlock.h"
#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

std::vector<uint16_t> liveBlock() {
    return std::vector<uint16_t>(reg::kLiveBlockCount, 0);
}

}  // namespace

TEST(LiveBlock, EachRegisterLandsInItsCellAtTheBlockBoundaries) {
    auto regs = liveBlock();
    regs[0] = 3300;           // cell 1 voltage
    regs[39] = 3456;          // cell 40 voltage
    regs[40] = 125;           // cell 1 resistance
    regs[79] = 65535;         // cell 40 resistance, the largest
    regs[80] = 0x8000 | 200;  // current -20.0 A
    regs[81] = 0x8000 | 50;   // cell 1 temperature -5.0
    regs[120] = 255;          // cell 40 temperature
    const auto live = decodeLiveBlock(regs);
    ASSERT_TRUE(live.has_value());
    EXPECT_EQ(live->voltages[0], 3.3);
    EXPECT_EQ(live->voltages[39], 3.456);
    EXPECT_EQ(live->voltages[38], 0.0);
    EXPECT_EQ(live->resistances[0], 1.25);
    EXPECT_EQ(live->resistances[39], 655.35);
    EXPECT_EQ(live->current, -20.0);
    EXPECT_EQ(live->temperatures[0], -5.0);
    EXPECT_EQ(live->temperatures[39], 25.5);

    regs.pop_back();  // one register short: no block
    EXPECT_FALSE(decodeLiveBlock(regs).has_value());
    EXPECT_FALSE(decodeLiveBlock({}).has_value());
}

TEST(LiveBlock, SignAndMagnitudeKeepsTheSignOfANegativeZero) {
    EXPECT_EQ(signMagnitudeValue(0, 10), 0.0);
    EXPECT_FALSE(std::signbit(signMagnitudeValue(0, 10)));
    EXPECT_TRUE(std::signbit(signMagnitudeValue(0x8000, 10))) << "the page shows -0.0A";
    EXPECT_EQ(signMagnitudeValue(32968, 10), -20.0);
    EXPECT_EQ(signMagnitudeValue(200, 10), 20.0);
    EXPECT_EQ(signMagnitudeValue(0xFFFF, 10), -3276.7);
    EXPECT_EQ(signMagnitudeValue(0x7FFF, 10), 3276.7);
}

// Printed to the page's decimals, every number reads as the page's text for that register.
TEST(LiveBlock, NumbersSayWhatThePagesShowForEveryRegisterValue) {
    auto regs = liveBlock();
    for (uint32_t raw = 0; raw <= 0xFFFF; ++raw) {
        const auto value = static_cast<uint16_t>(raw);
        regs[reg::kVoltages + 39] = value;
        regs[reg::kResistances] = value;
        regs[reg::kCurrent] = value;
        regs[reg::kTemperatures + 39] = value;
        const auto live = decodeLiveBlock(regs);
        ASSERT_TRUE(live.has_value());
        ASSERT_EQ(formatText("%.3fV", live->voltages[39]), formatValue(kBankVoltage, value));
        ASSERT_EQ(formatText("%.2fmΩ", live->resistances[0]), formatValue(kResistance, value));
        ASSERT_EQ(formatText("%.1fA", live->current), formatValue(kBankCurrent, value)) << raw;
        ASSERT_EQ(formatText("%.1f℃", live->temperatures[39]), formatValue(kTemperature, value))
            << raw;
    }
}

TEST(DeviceConfig, IdentityIsTheDevicesOwnWordEvenForARateTheLineLacks) {
    const uint16_t regs[] = {1, 9600, 110};
    const auto identity = decodeIdentity(regs);
    ASSERT_TRUE(identity.has_value());
    EXPECT_EQ(identity->address, 1);
    EXPECT_EQ(identity->baudRate, 9600);
    EXPECT_EQ(versionText(identity->version), "Ver1.10");
    const uint16_t odd[] = {247, 38400, 0};
    EXPECT_EQ(decodeIdentity(odd)->baudRate, 38400);
    EXPECT_EQ(versionText(decodeIdentity(odd)->version), "Ver0.00");
    EXPECT_FALSE(decodeIdentity(std::span(regs, 2)).has_value());
}

TEST(DeviceConfig, LimitsDecodeTheirBytesAndScales) {
    const uint16_t regs[] = {0x2D94, 0x8C69, 12, 5000};  // 0x100E..0x1011
    const auto limits = decodeLimits(regs);
    ASSERT_TRUE(limits.has_value());
    EXPECT_EQ(limits->tempUpper, 45);
    EXPECT_EQ(limits->tempLower, -20);
    EXPECT_EQ(limits->voltUpper, 14.0);
    EXPECT_EQ(limits->voltLower, 10.5);
    EXPECT_EQ(limits->resistanceUpper, 1.2);
    EXPECT_EQ(limits->currentUpper, 5000);

    // 0x80 is a sign with no magnitude; 0xFF the coldest; 0x7F the warmest.
    const uint16_t edges[] = {0x80FF, 0xFFFF, 0xFFFF, 0xFFFF};
    EXPECT_EQ(decodeLimits(edges)->tempUpper, 0);
    EXPECT_EQ(decodeLimits(edges)->tempLower, -127);
    EXPECT_EQ(decodeLimits(edges)->voltUpper, 25.5);
    EXPECT_EQ(decodeLimits(edges)->resistanceUpper, 6553.5);
    EXPECT_EQ(tempLimitText(0x94), "-20");
    EXPECT_EQ(tempLimitText(0x80), "0");
    EXPECT_FALSE(decodeLimits(std::span(regs, 3)).has_value());
}

TEST(DeviceConfig, MasksPutEachChannelInItsKindAndIgnoreTheTopByte) {
    // Voltage: channel 1 (and junk in the unused top byte); resistance: 40 and 9;
    // temperature: all.
    const uint16_t regs[] = {0x7F00, 0x0000, 0x0001, 0x0080, 0x0000,
                             0x0100, 0x00FF, 0xFFFF, 0xFFFF};
    const auto masks = decodeMasks(regs);
    ASSERT_TRUE(masks.has_value());
    for (int n = 1; n <= kCellCount; ++n) {
        const auto i = static_cast<size_t>(n - 1);
        EXPECT_EQ(masks->voltage[i], n == 1) << n;
        EXPECT_EQ(masks->resistance[i], n == 40 || n == 9) << n;
        EXPECT_TRUE(masks->temperature[i]) << n;
    }
    EXPECT_FALSE(decodeMasks(std::span(regs, 8)).has_value());
}

TEST(DeviceConfig, AlarmKindsFollowTheRelayBitOrder) {
    const uint16_t status = 0x0021;
    EXPECT_TRUE(hasAlarmKind(status, AlarmKind::TempUpper));
    EXPECT_TRUE(hasAlarmKind(status, AlarmKind::CurrentUpper));
    for (AlarmKind kind : {AlarmKind::TempLower, AlarmKind::VoltUpper, AlarmKind::VoltLower,
                           AlarmKind::ResistanceUpper}) {
        EXPECT_FALSE(hasAlarmKind(status, kind));
    }
    EXPECT_FALSE(hasAlarmKind(0xFFC0, AlarmKind::TempUpper)) << "bits 6 and up mean nothing";
}
