// Tests of the simulated device's register model: request shapes and exceptions, live
// values, configuration, clock, the manual resistance test, alarms and random frames.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "model_requests.h"

using namespace modeltest;
using namespace std::chrono_literals;

namespace {

constexpr uint16_t kCurrent = 0x0050;
constexpr uint16_t kTemperature1 = 0x0051;
constexpr uint16_t kResistance1 = 0x0028;

bool isSigned(uint16_t v) {
    return (v & 0x8000) != 0;
}

bool validBcd(uint16_t reg) {
    for (int shift = 0; shift < 16; shift += 4) {
        if (((reg >> shift) & 0xF) > 9) {
            return false;
        }
    }
    return true;
}

TEST(ModelFrames, ReadRepliesHaveTheRequestedShapeFor03And04) {
    DeviceModel model(7);
    const Bytes reply = ask(model, readHoldingRequest(0x0000, 121));
    ASSERT_EQ(reply.size(), 247u);
    EXPECT_EQ(reply[0], 7);
    EXPECT_EQ(reply[1], 0x03);
    EXPECT_EQ(reply[2], 242);
    EXPECT_TRUE(frameCrcOk(reply));
    // Without time passing both functions see the same registers.
    EXPECT_EQ(readRegs(model, 0x0000, 121, true), registersOf(reply));
    EXPECT_EQ(ask(model, readInputRequest(0x1009, 4)).size(), 13u);
    EXPECT_EQ(ask(model, readHoldingRequest(kCurrent, 1)).size(), 7u);
    EXPECT_EQ(readError(model, 0x0000, 125), 2) << "0x0079.. is past the live block";
}

TEST(ModelFrames, WritesAnswerWithEchoOrStartAndQuantity) {
    DeviceModel model(1);
    const Bytes request = frameRequest(1, writeSingleRequest(0x1000, 300));
    EXPECT_EQ(model.answer(request), request);
    EXPECT_TRUE(set10(model, 0x1012, {0, 0, 1}));
    EXPECT_EQ(write10(model, 0x1012, {0, 0, 1}).size(), kWriteReplyLength);
}

TEST(ModelFrames, UnknownFunctionsAndMalformedRequestsGiveExceptions) {
    DeviceModel model(1);
    for (uint8_t function : {0x01, 0x05, 0x0F, 0x17, 0x2B, 0x83}) {
        const Bytes reply = ask(model, Bytes{function, 0x00, 0x00, 0x00, 0x01});
        ASSERT_EQ(exceptionCode(reply), 1) << int{function};
        EXPECT_EQ(reply[1], function | 0x80);
    }
    EXPECT_EQ(readError(model, 0x0000, 0), 3);
    EXPECT_EQ(readError(model, 0x0000, 126), 3);
    EXPECT_EQ(exceptionCode(ask(model, Bytes{0x03, 0x00, 0x00, 0x00})), 3);              // short
    EXPECT_EQ(exceptionCode(ask(model, Bytes{0x06, 0x10, 0x00, 0x00, 0x01, 0x00})), 3);  // long
    // 0x10 whose byte count or length disagrees with the quantity.
    EXPECT_EQ(exceptionCode(ask(model, Bytes{0x10, 0x10, 0x00, 0x00, 0x01, 0x03, 0, 1, 0})), 3);
    EXPECT_EQ(exceptionCode(ask(model, Bytes{0x10, 0x10, 0x00, 0x00, 0x02, 0x04, 0, 1})), 3);
    EXPECT_EQ(exceptionCode(ask(model, Bytes{0x10, 0x10, 0x00, 0x00, 0x00, 0x00})), 3);
    EXPECT_EQ(exceptionCode(write10(model, 0x1012, {})), 3);
    // Nothing to answer without a function code.
    EXPECT_TRUE(model.answer(Bytes{0x01, 0x02, 0x03}).empty());
}

TEST(ModelFrames, UnknownRegistersAnywhereInTheRangeGiveIllegalAddress) {
    DeviceModel model(1);
    EXPECT_EQ(readError(model, 0x0079, 1), 2);
    EXPECT_EQ(readError(model, 0x0070, 10), 2);  // runs off the live block
    EXPECT_EQ(readError(model, 0x1010, 13), 2);  // runs past 0x101B
    EXPECT_EQ(readError(model, 0x1234, 1), 2);
    EXPECT_EQ(readError(model, 0xFFFF, 2), 2);  // past the address space
    EXPECT_EQ(readError(model, 0x10E1, 1), 2);  // calibration is write-only
    EXPECT_EQ(readError(model, 0x10A0, 1), 2);  // so is the resistance test command
    EXPECT_EQ(exceptionCode(write06(model, 0x5555, 1)), 2);
    EXPECT_EQ(exceptionCode(write10(model, 0x101B, {0, 0})), 2);
}

TEST(ModelFrames, ReadOnlyRegistersRefuseWritesAndKeepTheirValue) {
    DeviceModel model(5);
    EXPECT_EQ(exceptionCode(write06(model, 0x0000, 12000)), 2);
    EXPECT_EQ(exceptionCode(write06(model, kCurrent, 0)), 2);
    for (uint16_t reg : {0x1002, 0x1003, 0x1004}) {
        EXPECT_EQ(exceptionCode(write06(model, reg, 1)), 2) << reg;
    }
    // A write of several that touches a read-only register changes none of them.
    EXPECT_EQ(exceptionCode(write10(model, 0x1001, {77, 2})), 2);
    EXPECT_EQ(readRegs(model, 0x1001, 4), (std::vector<uint16_t>{200, 5, 9600, 110}));
}

TEST(ModelLive, ValuesArePlausibleForABankOf12VoltBlocks) {
    DeviceModel model(1);
    const std::vector<uint16_t> live = readRegs(model, 0x0000, 121);
    ASSERT_EQ(live.size(), 121u);
    for (int cell = 0; cell < 40; ++cell) {
        EXPECT_GE(live[cell], 12900);
        EXPECT_LE(live[cell], 13200);
        EXPECT_GE(live[40 + cell], 250);
        EXPECT_LE(live[40 + cell], 600);
        EXPECT_GE(live[81 + cell], 150) << "positive, 15 degC or more";
        EXPECT_LE(live[81 + cell], 350);
    }
    EXPECT_FALSE(isSigned(live[80]));
    EXPECT_GT(live[80], 0);
}

TEST(ModelLive, DischargeAndColdRoomUseSignAndMagnitude) {
    DeviceModel model(1);
    model.setDischarging(true);
    const uint16_t current = readReg(model, kCurrent);
    EXPECT_TRUE(isSigned(current));
    EXPECT_GT(current & 0x7FFF, 0);
    model.setNegativeTemperatures(3);
    model.advance(30s);
    const std::vector<uint16_t> temps = readRegs(model, kTemperature1, 40);
    for (int cell = 0; cell < 40; ++cell) {
        EXPECT_EQ(isSigned(temps[cell]), cell < 3) << cell;
        EXPECT_GT(temps[cell] & 0x7FFF, 0) << "never a bare sign bit";
    }
    model.setNegativeTemperatures(0);
    model.setDischarging(false);
    EXPECT_FALSE(isSigned(readReg(model, kTemperature1)));
    EXPECT_FALSE(isSigned(readReg(model, kCurrent)));
}

TEST(ModelLive, ValuesDriftInRangeWhilePinnedRegistersStay) {
    DeviceModel model(1);
    model.setRegister(0x0003, 12345);
    model.setRegister(kTemperature1 + 9, 0x8032);
    const std::vector<uint16_t> before = readRegs(model, 0x0000, 40);
    for (int i = 0; i < 600; ++i) {
        model.advance(1s);
    }
    const std::vector<uint16_t> after = readRegs(model, 0x0000, 121);
    EXPECT_NE(std::vector<uint16_t>(after.begin(), after.begin() + 40), before);
    EXPECT_EQ(after[3], 12345);
    EXPECT_EQ(after[81 + 9], 0x8032);
    EXPECT_EQ(model.registerValue(0x0003), 12345);
    for (int cell = 0; cell < 40; ++cell) {
        if (cell != 3) {
            EXPECT_GE(after[cell], 12900);
            EXPECT_LE(after[cell], 13200);
        }
    }
    model.unpinAll();
    model.advance(3600s);
    const uint16_t released = readReg(model, 0x0003);
    EXPECT_TRUE(released >= 12900 && released <= 13200) << released;
}

TEST(ModelConfig, DefaultsArePlausible) {
    DeviceModel model(9);
    EXPECT_EQ(readRegs(model, 0x1000, 5), (std::vector<uint16_t>{24, 200, 9, 9600, 110}));
    EXPECT_EQ(readRegs(model, 0x100D, 5), (std::vector<uint16_t>{0x3F, 0x2D94, 0x8C69, 100, 300}));
    EXPECT_EQ(
        readRegs(model, 0x1012, 9, true),
        (std::vector<uint16_t>{0xFF, 0xFFFF, 0xFFFF, 0xFF, 0xFFFF, 0xFFFF, 0xFF, 0xFFFF, 0xFFFF}));
    EXPECT_EQ(readReg(model, 0x101B), 0);
    EXPECT_EQ(readReg(model, 0x10E0), 500);
}

TEST(ModelConfig, WritesPersistAndBadValuesChangeNothing) {
    DeviceModel model(1);
    const std::pair<uint16_t, uint16_t> writes[] = {
        {0x1000, 300}, {0x1001, 25},   {0x100D, 0x24}, {0x100E, 0x2D00}, {0x100F, 0xFE00},
        {0x1010, 12},  {0x1011, 5000}, {0x101B, 0x21}, {0x10E0, 0xFFFF}};
    for (const auto& [reg, value] : writes) {
        ASSERT_TRUE(set06(model, reg, value)) << reg;
        EXPECT_EQ(readReg(model, reg), value) << reg;
    }
    EXPECT_TRUE(set10(model, 0x1015, {0x00, 0x0000, 0x0101}));
    EXPECT_EQ(readRegs(model, 0x1015, 3, true), (std::vector<uint16_t>{0, 0, 0x0101}));

    for (uint16_t bad : {0, 5001, 0xFFFF}) {
        EXPECT_EQ(exceptionCode(write06(model, 0x1011, bad)), 3) << bad;
    }
    EXPECT_EQ(exceptionCode(write06(model, 0x100D, 0x40)), 3);
    EXPECT_EQ(exceptionCode(write06(model, 0x101B, 0x0100)), 3);
    // One bad value spoils the whole write.
    EXPECT_EQ(exceptionCode(write10(model, 0x1010, {50, 0})), 3);
    EXPECT_EQ(readRegs(model, 0x1010, 2), (std::vector<uint16_t>{12, 5000}));
}

TEST(ModelConfig, PinnedSettingsStillTakeTheMastersWrites) {
    DeviceModel model(1);
    model.setRegister(0x1000, 5);
    model.setRegister(0x1007, 0x1234);
    EXPECT_EQ(readReg(model, 0x1000), 5);
    ASSERT_TRUE(set06(model, 0x1000, 7));
    model.advance(10s);
    EXPECT_EQ(readReg(model, 0x1000), 7);
    EXPECT_EQ(readReg(model, 0x1007), 0x1234) << "a pinned clock stands still";
    model.unpinAll();
    EXPECT_EQ(readReg(model, 0x1000), 7);
}

TEST(ModelConfig, CalibrationIsWriteOnlyAndTakesKnownCommands) {
    DeviceModel model(1);
    for (uint16_t command : {0x0101, 0x0102, 0x0201, 0x0202, 0x0000}) {
        EXPECT_TRUE(set06(model, 0x10E1, command)) << command;
    }
    EXPECT_TRUE(set06(model, 0x10E1, 0x0201));
    EXPECT_EQ(model.registerValue(0x10E1), 0x0201);
    for (uint16_t command : {0x0301, 0x0103, 0xFFFF}) {
        EXPECT_EQ(exceptionCode(write06(model, 0x10E1, command)), 3) << command;
    }
    EXPECT_EQ(readError(model, 0x10E1, 1), 2);
}

TEST(ModelClock, RunsWithAdvanceAcrossDayMonthAndYear) {
    DeviceModel model(1);
    ASSERT_TRUE(set10(model, 0x1005, {0x2024, 0x0506, 0x0708, 0x0900}));
    EXPECT_EQ(readRegs(model, 0x1005, 4), (std::vector<uint16_t>{0x2024, 0x0506, 0x0708, 0x0900}));
    model.advance(1500ms);
    EXPECT_EQ(readReg(model, 0x1008), 0x1000);
    model.advance(500ms);
    EXPECT_EQ(readReg(model, 0x1008), 0x1100);

    ASSERT_TRUE(set10(model, 0x1005, {0x2023, 0x1231, 0x2359, 0x5900}));
    model.advance(1s);
    EXPECT_EQ(readRegs(model, 0x1005, 4), (std::vector<uint16_t>{0x2024, 0x0101, 0x0000, 0x0000}));

    ASSERT_TRUE(set10(model, 0x1005, {0x2024, 0x0228, 0x2359, 0x5900}));
    model.advance(1s);
    EXPECT_EQ(readReg(model, 0x1006), 0x0229) << "2024 is a leap year";
    model.advance(24h);
    EXPECT_EQ(readReg(model, 0x1006), 0x0301);
}

TEST(ModelClock, StartsValidAndRefusesImpossibleDates) {
    DeviceModel model(1);
    const std::vector<uint16_t> now = readRegs(model, 0x1005, 4);
    ASSERT_EQ(now.size(), 4u);
    for (uint16_t reg : now) {
        EXPECT_TRUE(validBcd(reg)) << std::hex << reg;
    }
    EXPECT_GE(now[0], 0x2000);
    ASSERT_TRUE(set10(model, 0x1005, {0x2024, 0x0430, 0x1200, 0x0000}));
    const std::initializer_list<uint16_t> bad[] = {
        {0x2024, 0x0431, 0x1200, 0x0000},  // 31 April
        {0x2023, 0x0229, 0x1200, 0x0000},  // not a leap year
        {0x2024, 0x1301, 0x1200, 0x0000},  // month 13
        {0x2024, 0x0001, 0x1200, 0x0000},  // month 0
        {0x2024, 0x0101, 0x2400, 0x0000},  // hour 24
        {0x2024, 0x0101, 0x1260, 0x0000},  // minute 60
        {0x2024, 0x011A, 0x1200, 0x0000},  // not BCD
        {0x0000, 0x0000, 0x0000, 0x0000},  // what an empty form sends
    };
    for (const auto& regs : bad) {
        EXPECT_EQ(exceptionCode(write10(model, 0x1005, regs)), 3)
            << std::hex << *(regs.begin() + 1);
    }
    EXPECT_EQ(readRegs(model, 0x1005, 3), (std::vector<uint16_t>{0x2024, 0x0430, 0x1200}));
    // One register sets one field; the unused byte is ignored.
    EXPECT_TRUE(set06(model, 0x1008, 0x30FF));
    EXPECT_EQ(readReg(model, 0x1008), 0x3000);
}

TEST(ModelClock, SamplingMomentIsStoredAndChecked) {
    DeviceModel model(1);
    for (uint16_t reg : readRegs(model, 0x1009, 4, true)) {
        EXPECT_TRUE(validBcd(reg));
    }
    ASSERT_TRUE(set10(model, 0x1009, {0x2025, 0x0102, 0x0304, 0x0500}));
    model.advance(10s);
    EXPECT_EQ(readRegs(model, 0x1009, 4, true),
              (std::vector<uint16_t>{0x2025, 0x0102, 0x0304, 0x0500}));
    EXPECT_EQ(exceptionCode(write10(model, 0x1009, {0x2025, 0x0132, 0x0304, 0x0500})), 3);
}

TEST(ModelResistanceTest, OneCellChangesAboutASecondLater) {
    DeviceModel model(1);
    const std::vector<uint16_t> before = readRegs(model, kResistance1, 40);
    const Bytes request = frameRequest(1, writeSingleRequest(0x10A0, 0x0107));
    EXPECT_EQ(model.answer(request), request);
    model.advance(500ms);
    EXPECT_EQ(readRegs(model, kResistance1, 40), before) << "not measured yet";
    model.advance(600ms);
    const std::vector<uint16_t> after = readRegs(model, kResistance1, 40);
    for (int cell = 0; cell < 40; ++cell) {
        if (cell == 6) {
            EXPECT_GE(std::abs(after[cell] - before[cell]), 20) << "visible change";
            EXPECT_GE(after[cell], 250);
            EXPECT_LE(after[cell], 600);
        } else {
            EXPECT_EQ(after[cell], before[cell]) << cell;
        }
    }
}

TEST(ModelResistanceTest, AllCellsChangeExceptPinnedAndBadCommandsAreRefused) {
    DeviceModel model(1);
    model.setRegister(kResistance1 + 39, 555);
    const std::vector<uint16_t> before = readRegs(model, kResistance1, 40);
    EXPECT_TRUE(set06(model, 0x10A0, 0x01FF));
    EXPECT_EQ(model.registerValue(0x10A0), 0x01FF) << "pending";
    model.advance(1s);
    const std::vector<uint16_t> after = readRegs(model, kResistance1, 40);
    for (int cell = 0; cell < 39; ++cell) {
        EXPECT_NE(after[cell], before[cell]) << cell;
    }
    EXPECT_EQ(after[39], 555);
    EXPECT_EQ(model.registerValue(0x10A0), 0);
    for (uint16_t bad : {0x0000, 0x0100, 0x0129, 0x01FE, 0x0207, 0xFFFF}) {
        EXPECT_EQ(exceptionCode(write06(model, 0x10A0, bad)), 3) << bad;
    }
}

TEST(ModelAlarms, StatusLatchesWhatTheValuesShowAndTheMasksAllow) {
    DeviceModel model(1);
    model.setNegativeTemperatures(2);
    model.advance(1s);
    EXPECT_EQ(readReg(model, 0x101B), 0) << "a cold room is still above -20 degC";
    ASSERT_TRUE(set06(model, 0x100E, 0x2D00));          // 45 / 0 degC
    ASSERT_TRUE(set10(model, 0x1018, {0, 0, 0xFFFC}));  // channels 1 and 2 not watched
    model.advance(1s);
    EXPECT_EQ(readReg(model, 0x101B), 0);
    ASSERT_TRUE(set10(model, 0x1018, {0, 0, 0xFFFF}));
    model.advance(1s);
    EXPECT_EQ(readReg(model, 0x101B), 0x02);
    // Cleared by the master, raised again while the condition lasts.
    ASSERT_TRUE(set06(model, 0x101B, 0));
    EXPECT_EQ(readReg(model, 0x101B), 0);
    model.setNegativeTemperatures(0);
    model.setDischarging(true);
    ASSERT_TRUE(set06(model, 0x1011, 1));  // 1 A
    model.advance(1s);
    EXPECT_EQ(readReg(model, 0x101B), 0x20);
}

TEST(ModelRobustness, RandomFramesAlwaysGetAWellFormedAnswer) {
    DeviceModel model(1);
    std::mt19937 random(20240506);
    const uint16_t interesting[] = {0x0000, 0x0050, 0x0078, 0x1000, 0x1005, 0x100E, 0x101B, 0x10A0,
                                    0x10E0, 0x10E1, 0x1100, 0x1101, 0x1102, 0x1103, 0x1107, 0x1200,
                                    0x1201, 0x1203, 0x2000, 0x2002, 0x2100, 0x2102, 0xFFFF};
    const uint8_t functions[] = {0x03, 0x04, 0x06, 0x10, 0x10, 0x03, 0x01, 0x2B, 0x90};
    for (int i = 0; i < 20000; ++i) {
        Bytes pdu{functions[random() % std::size(functions)]};
        const uint16_t start =
            static_cast<uint16_t>(interesting[random() % std::size(interesting)] + random() % 5);
        pdu.push_back(static_cast<uint8_t>(start >> 8));
        pdu.push_back(static_cast<uint8_t>(start & 0xFF));
        const size_t extra = random() % 3 == 0 ? random() % 260 : random() % 12;
        for (size_t b = 0; b < extra; ++b) {
            pdu.push_back(static_cast<uint8_t>(random() % 4 == 0 ? random() : random() % 3));
        }
        if (random() % 8 == 0) {
            model.advance(std::chrono::milliseconds(random() % 3000));
        }
        const Bytes reply = ask(model, pdu);
        ASSERT_GE(reply.size(), 5u);
        ASSERT_TRUE(frameCrcOk(reply));
        ASSERT_EQ(reply[0], 1);
        if (reply[1] & 0x80) {
            ASSERT_EQ(reply.size(), 5u);
            ASSERT_TRUE(reply[2] >= 1 && reply[2] <= 3) << int{reply[2]};
        } else if (reply[1] == 0x03 || reply[1] == 0x04) {
            ASSERT_EQ(reply.size(), 5u + reply[2]);
            ASSERT_EQ(reply[2], 2 * (pdu[3] << 8 | pdu[4]));
        } else {
            ASSERT_EQ(reply.size(), 8u);
        }
    }
    // Whatever it went through, the device still answers plainly.
    EXPECT_EQ(ask(model, readHoldingRequest(0x0000, 121)).size(), 247u);
}

TEST(ModelRobustness, ExtremeAdvanceAndSeedsStayBounded) {
    DeviceModel model(1);
    model.advance(std::chrono::milliseconds::max());
    model.advance(std::chrono::milliseconds::min());
    model.advance(-5s);
    model.seedAlarmRecords(-3);
    model.seedVoltageRecords(0, 5);
    model.seedVoltageRecords(9, 5);
    model.setNegativeTemperatures(99);
    model.setNegativeTemperatures(-1);
    EXPECT_EQ(readReg(model, 0x2100), 0);
    EXPECT_EQ(ask(model, readHoldingRequest(0x1005, 4)).size(), 13u);
    EXPECT_EQ(ask(model, readHoldingRequest(0x0000, 121)).size(), 247u);
    EXPECT_FALSE(model.registerValue(0x0079).has_value());
}

}  // namespace
