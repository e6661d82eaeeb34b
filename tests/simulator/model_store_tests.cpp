// Tests of the simulated device's record stores and temperature probe bus, through the
// same request frames the program sends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>

#include "ModelRecords.h"
#include "model_requests.h"

using namespace modeltest;

namespace {

// Base register, window register and record length of a numbered record store.
struct StoreLayout {
    const char* name;
    uint16_t base;
    uint16_t length;
    void (DeviceModel::*seed)(int);
};

const StoreLayout kResistanceStore{"resistance", 0x2000, 44, &DeviceModel::seedResistanceRecords};
const StoreLayout kAlarmStore{"alarm", 0x2100, 45, &DeviceModel::seedAlarmRecords};

bool validBcdStamp(const std::vector<uint16_t>& record) {
    for (int i = 0; i < 4; ++i) {
        for (int shift = 0; shift < 16; shift += 4) {
            if (((record[i] >> shift) & 0xF) > 9) {
                return false;
            }
        }
    }
    const int month = record[1] >> 8;
    const int day = record[1] & 0xFF;
    return month >= 1 && month <= 0x12 && day >= 1 && day <= 0x31 && (record[2] >> 8) <= 0x23 &&
           (record[2] & 0xFF) <= 0x59 && (record[3] >> 8) <= 0x59;
}

// BCD keeps the order of the numbers it codes, so stamps compare as register tuples.
auto stampOf(const std::vector<uint16_t>& record) {
    return std::make_tuple(record[0], record[1], record[2], record[3]);
}

class NumberedStore : public ::testing::TestWithParam<StoreLayout> {
  protected:
    std::vector<uint16_t> window() {
        return readRegs(model, GetParam().base + 2, GetParam().length);
    }
    void seed(int count) { (model.*GetParam().seed)(count); }

    DeviceModel model{1};
};

TEST_P(NumberedStore, StreamsEveryRecordInOrderThenRunsEmpty) {
    const StoreLayout& s = GetParam();
    seed(5);
    EXPECT_EQ(readReg(model, s.base), 5);
    ASSERT_TRUE(set06(model, s.base + 1, 1));
    std::vector<std::vector<uint16_t>> records;
    for (int i = 0; i < 5; ++i) {
        records.push_back(window());
        ASSERT_EQ(records.back().size(), s.length);
        EXPECT_TRUE(validBcdStamp(records.back())) << i;
        if (i > 0) {
            EXPECT_LT(stampOf(records[i - 1]), stampOf(records[i])) << "stamps increase";
        }
    }
    EXPECT_EQ(readError(model, s.base + 2, s.length), 2) << "past the last record";
    // Positioning picks a record by number; 0 is taken as the first.
    ASSERT_TRUE(set06(model, s.base + 1, 4));
    EXPECT_EQ(window(), records[3]);
    ASSERT_TRUE(set06(model, s.base + 1, 0));
    EXPECT_EQ(window(), records[0]);
}

TEST_P(NumberedStore, PositionPersistsAcrossOtherRequests) {
    const StoreLayout& s = GetParam();
    seed(4);
    ASSERT_TRUE(set06(model, s.base + 1, 1));
    const std::vector<uint16_t> first = window();
    EXPECT_EQ(readReg(model, s.base), 4);
    readRegs(model, 0x0000, 121);
    const std::vector<uint16_t> second = window();
    EXPECT_NE(first, second);
    EXPECT_EQ(readReg(model, s.base + 1), 3) << "the next record's number";
    ASSERT_TRUE(set06(model, s.base + 1, 2));
    EXPECT_EQ(window(), second);
}

TEST_P(NumberedStore, RefusesBadPositionsCountsAndDeleteValues) {
    const StoreLayout& s = GetParam();
    seed(3);
    EXPECT_EQ(exceptionCode(write06(model, s.base + 1, 4)), 3);
    EXPECT_EQ(exceptionCode(write06(model, s.base + 1, 0xFFFF)), 3);
    EXPECT_EQ(readError(model, s.base + 2, s.length - 1), 3);
    EXPECT_EQ(readError(model, s.base + 2, s.length + 1), 3);
    EXPECT_EQ(readError(model, s.base, 3), 2) << "the window is read on its own";
    EXPECT_EQ(readError(model, s.base + 3, 1), 2);
    EXPECT_EQ(exceptionCode(write06(model, s.base, 1)), 3);
    EXPECT_EQ(exceptionCode(write06(model, s.base + 2, 0)), 2);
    EXPECT_EQ(exceptionCode(write10(model, s.base, {0, 1})), 3) << "one command at a time";
    EXPECT_EQ(readReg(model, s.base), 3) << "nothing deleted";
}

TEST_P(NumberedStore, DeleteAllEmptiesTheStoreAndSeedReplaces) {
    const StoreLayout& s = GetParam();
    seed(6);
    ASSERT_TRUE(set06(model, s.base, 0));
    EXPECT_EQ(readReg(model, s.base), 0);
    EXPECT_EQ(readError(model, s.base + 2, s.length), 2);
    EXPECT_EQ(exceptionCode(write06(model, s.base + 1, 1)), 3) << "no record 1 any more";
    seed(9);
    seed(2);
    EXPECT_EQ(readReg(model, s.base), 2);
}

TEST_P(NumberedStore, PeekingDoesNotMoveTheWindow) {
    const StoreLayout& s = GetParam();
    seed(2);
    ASSERT_TRUE(set06(model, s.base + 1, 2));
    const std::optional<uint16_t> peeked = model.registerValue(s.base + 2);
    EXPECT_EQ(model.registerValue(s.base + 2), peeked);
    const std::vector<uint16_t> record = window();
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(record[0], peeked);
    EXPECT_FALSE(model.registerValue(s.base + 2).has_value());
}

INSTANTIATE_TEST_SUITE_P(Stores, NumberedStore, ::testing::Values(kResistanceStore, kAlarmStore),
                         [](const auto& param) { return std::string(param.param.name); });

// Values a technician would believe: resistances of a few milliohms that stay with their
// cell from test to test, but for one ageing cell that rises by 80 % over the store; alarms
// of every kind whose cells show what raised them.
TEST(ModelRecords, RecordsLookLikeThoseOfARealDevice) {
    DeviceModel model(1);
    model.seedResistanceRecords(3);
    model.seedAlarmRecords(40);
    ASSERT_TRUE(set06(model, 0x2001, 1));
    const std::vector<uint16_t> first = readRegs(model, 0x2002, 44);
    readRegs(model, 0x2002, 44);
    const std::vector<uint16_t> third = readRegs(model, 0x2002, 44);
    int ageing = 0;
    for (int ch = 0; ch < 40; ++ch) {
        EXPECT_TRUE(first[4 + ch] >= 200 && first[4 + ch] <= 1200) << first[4 + ch];
        if (third[4 + ch] * 10 >= first[4 + ch] * 17) {  // +70 % and more
            ++ageing;
            continue;
        }
        EXPECT_LE(std::abs(first[4 + ch] - third[4 + ch]), 30) << "cell " << ch + 1;
    }
    EXPECT_EQ(ageing, 1);
    EXPECT_GT(*std::max_element(first.begin() + 4, first.end()) -
                  *std::min_element(first.begin() + 4, first.end()),
              50)
        << "cells differ";

    ASSERT_TRUE(set06(model, 0x2101, 1));
    std::set<int> kinds;
    std::set<long> gaps;
    long previous = -1;
    for (int i = 0; i < 40; ++i) {
        const std::vector<uint16_t> record = readRegs(model, 0x2102, 45);
        ASSERT_TRUE(validBcdStamp(record));
        const int kind = record[4];
        ASSERT_TRUE(kind >= 1 && kind <= 6) << kind;
        kinds.insert(kind);
        const auto [low, high] = std::minmax_element(record.begin() + 5, record.end());
        // The cell that raised it is past a limit a device would use; 0.01 of the unit.
        switch (kind) {
            case 1:
                EXPECT_GT(*high, 4500) << "above 45 degC, record " << i + 1;
                break;
            case 2:
                EXPECT_LT(*low, 500) << "below 5 degC, record " << i + 1;
                break;
            case 3:
                EXPECT_GT(*high, 1440) << "above 14.4 V, record " << i + 1;
                break;
            case 4:
                EXPECT_LT(*low, 1100) << "below 11 V, record " << i + 1;
                break;
            case 5:
                EXPECT_GT(*high, 800) << "above 8 mOhm, record " << i + 1;
                break;
            default:  // the bank current: the cells only show the load
                EXPECT_LT(*high, 1300) << "record " << i + 1;
        }
        // Minutes of the stamp since the month began: enough to see the gaps vary.
        const long at = ((record[1] & 0xFF) >> 4) * 14400L + (record[1] & 0xF) * 1440L +
                        (record[2] >> 12) * 600L + ((record[2] >> 8) & 0xF) * 60L +
                        ((record[2] & 0xFF) >> 4) * 10L + (record[2] & 0xF);
        if (previous >= 0 && at > previous) {
            gaps.insert(at - previous);
        }
        previous = at;
    }
    EXPECT_EQ(kinds.size(), 6u);
    EXPECT_GT(gaps.size(), 20u) << "alarms come at irregular times";
}

// However many records a store holds, their stamps increase and stay within the years the
// device's clock can hold.
TEST(ModelRecords, AFullStoreStaysWithinTheDevicesCalendar) {
    const std::vector<std::vector<RecordRegisters>> stores = {
        makeVoltageRecords(8, kMaxStoredRecords), makeResistanceRecords(kMaxStoredRecords),
        makeAlarmRecords(kMaxStoredRecords)};
    for (const auto& records : stores) {
        ASSERT_EQ(records.size(), static_cast<size_t>(kMaxStoredRecords));
        for (size_t i = 1; i < records.size(); ++i) {
            ASSERT_LT(stampOf(records[i - 1]), stampOf(records[i])) << i;
        }
        EXPECT_TRUE(validBcdStamp(records.back()));
        EXPECT_LE(records.back()[0], 0x2099);
    }
    EXPECT_TRUE(makeAlarmRecords(-1).empty());
    EXPECT_EQ(makeAlarmRecords(kMaxStoredRecords + 5).size(),
              static_cast<size_t>(kMaxStoredRecords));
}

TEST(ModelRecords, VoltageGroupsCountApartAndShareOneWindow) {
    DeviceModel model(1);
    for (int group = 1; group <= 8; ++group) {
        model.seedVoltageRecords(group, 0);
    }
    model.seedVoltageRecords(2, 4);
    model.seedVoltageRecords(5, 3);
    EXPECT_EQ(readReg(model, 0x1200), 7);
    ASSERT_TRUE(set06(model, 0x1201, 2));
    EXPECT_EQ(readReg(model, 0x1202), 4);
    std::vector<std::vector<uint16_t>> records;
    for (int i = 0; i < 4; ++i) {
        records.push_back(readRegs(model, 0x1203, 44));
        ASSERT_EQ(records.back().size(), 44u);
        EXPECT_TRUE(validBcdStamp(records.back()));
        for (int ch = 0; ch < 40; ++ch) {  // 11-14 V: a 12 V cell floating or discharging
            EXPECT_TRUE(records.back()[4 + ch] >= 1100 && records.back()[4 + ch] <= 1400);
        }
    }
    EXPECT_EQ(readError(model, 0x1203, 44), 2);
    EXPECT_EQ(readReg(model, 0x1201), 2) << "the group stays chosen";
    // Choosing a group again starts it over; another group has other records.
    ASSERT_TRUE(set06(model, 0x1201, 2));
    EXPECT_EQ(readRegs(model, 0x1203, 44), records[0]);
    ASSERT_TRUE(set06(model, 0x1201, 5));
    EXPECT_EQ(readReg(model, 0x1202), 3);
    EXPECT_NE(readRegs(model, 0x1203, 44), records[1]);
    ASSERT_TRUE(set06(model, 0x1201, 3));
    EXPECT_EQ(readReg(model, 0x1202), 0);
    EXPECT_EQ(readError(model, 0x1203, 44), 2);
}

TEST(ModelRecords, VoltageGroupZeroNineAndDelete) {
    DeviceModel model(1);
    model.seedVoltageRecords(1, 2);
    ASSERT_TRUE(set06(model, 0x1201, 0));
    EXPECT_EQ(readReg(model, 0x1202), 0);
    EXPECT_EQ(readError(model, 0x1203, 44), 2);
    EXPECT_EQ(exceptionCode(write06(model, 0x1201, 9)), 3);
    EXPECT_EQ(readReg(model, 0x1201), 0);
    EXPECT_EQ(exceptionCode(write06(model, 0x1202, 1)), 2) << "the group size is read-only";
    EXPECT_EQ(readError(model, 0x1203, 45), 3);
    EXPECT_EQ(readError(model, 0x1200, 4), 2);
    ASSERT_TRUE(set06(model, 0x1200, 0));
    EXPECT_EQ(readReg(model, 0x1200), 0);
    ASSERT_TRUE(set06(model, 0x1201, 1));
    EXPECT_EQ(readReg(model, 0x1202), 0);
}

TEST(ModelRecords, APinnedCountStaysWhateverTheStoreHolds) {
    DeviceModel model(1);
    model.setRegister(0x2100, 400);
    model.seedAlarmRecords(2);
    EXPECT_EQ(readReg(model, 0x2100), 400);
    model.unpinAll();
    EXPECT_EQ(readReg(model, 0x2100), 2);
}

std::vector<uint16_t> identityOf(DeviceModel& model, uint16_t channel) {
    EXPECT_TRUE(set06(model, 0x1102, channel));
    return readRegs(model, 0x1103, 4);
}

const std::vector<uint16_t> kNoProbe{0, 0, 0, 0};

TEST(ModelProbes, MaximumCountAndChannelTakeOnlyTheirRange) {
    DeviceModel model(1);
    EXPECT_EQ(readReg(model, 0x1100), 40);
    EXPECT_TRUE(set06(model, 0x1100, 0));
    EXPECT_TRUE(set06(model, 0x1100, 12));
    EXPECT_EQ(exceptionCode(write06(model, 0x1100, 41)), 3);
    EXPECT_EQ(readReg(model, 0x1100), 12);
    for (uint16_t channel : {0, 13, 41, 0xFE, 0x01FF}) {
        EXPECT_EQ(exceptionCode(write06(model, 0x1102, channel)), 3) << channel;
    }
    EXPECT_TRUE(set06(model, 0x1102, 12));
    ASSERT_TRUE(set06(model, 0x1100, 0));
    EXPECT_EQ(exceptionCode(write06(model, 0x1102, 1)), 3) << "no channel without probes";
    EXPECT_TRUE(set06(model, 0x1102, 0xFF)) << "\"all\" whatever the count";
    EXPECT_EQ(readRegs(model, 0x1103, 4), kNoProbe) << "no identity for \"all\"";
    EXPECT_EQ(exceptionCode(write06(model, 0x1103, 0x28FF)), 3) << "an identity takes four";
    EXPECT_EQ(readError(model, 0x1101, 1), 2);
    EXPECT_EQ(readError(model, 0x1107, 1), 2);
}

TEST(ModelProbes, EraseOneOrAllThenRegisterAutomatically) {
    DeviceModel model(1);
    const std::vector<uint16_t> third = identityOf(model, 3);
    EXPECT_NE(third, kNoProbe) << "probes come registered";
    EXPECT_NE(identityOf(model, 4), third) << "each probe its own identity";
    ASSERT_TRUE(set06(model, 0x1102, 3));
    ASSERT_TRUE(set06(model, 0x1107, 1));
    EXPECT_EQ(identityOf(model, 3), kNoProbe);
    EXPECT_NE(identityOf(model, 4), kNoProbe);
    EXPECT_EQ(exceptionCode(write06(model, 0x1107, 2)), 3);

    ASSERT_TRUE(set06(model, 0x1102, 0xFF));
    ASSERT_TRUE(set06(model, 0x1107, 1));
    EXPECT_EQ(identityOf(model, 40), kNoProbe);
    ASSERT_TRUE(set06(model, 0x1100, 10));
    ASSERT_TRUE(set06(model, 0x1101, 1));
    EXPECT_EQ(identityOf(model, 3), third) << "the same probe is found again";
    EXPECT_NE(identityOf(model, 10), kNoProbe);
    ASSERT_TRUE(set06(model, 0x1100, 40));
    EXPECT_EQ(identityOf(model, 11), kNoProbe) << "the scan stops at the maximum";
    EXPECT_EQ(exceptionCode(write06(model, 0x1101, 2)), 3);
}

// Only the full scan keeps its reply back; the registrations are there at once.
TEST(ModelProbes, AFullScanIsAnsweredAfterTheScanTimeAndNothingElseIs) {
    DeviceModel model(1);
    ASSERT_TRUE(set06(model, 0x1102, 0xFF));
    ASSERT_TRUE(set06(model, 0x1107, 1));
    const Bytes scan = frameRequest(1, writeSingleRequest(0x1101, 1));
    const DeviceModel::Reply scanned = model.respond(scan);
    EXPECT_EQ(scanned.bytes, scan);
    EXPECT_EQ(scanned.delay, std::chrono::milliseconds(3000));
    EXPECT_NE(identityOf(model, 40), kNoProbe);

    model.setProbeScanTime(std::chrono::milliseconds(1500));
    EXPECT_EQ(model.respond(scan).delay, std::chrono::milliseconds(1500));
    const std::vector<Bytes> prompt = {
        writeSingleRequest(0x1101, 0),
        writeSingleRequest(0x1101, 2),                    // refused at once
        writeMultipleRequest(0x1101, Bytes{0, 0, 0, 3}),  // the found probe only
        writeMultipleRequest(0x1101, Bytes{0, 1, 0, 3}),
        readHoldingRequest(0x1100, 1),
    };
    for (size_t i = 0; i < prompt.size(); ++i) {
        EXPECT_EQ(model.respond(frameRequest(1, prompt[i])).delay, std::chrono::milliseconds(0))
            << "request " << i;
    }
    model.setProbeScanTime(std::chrono::milliseconds(-5));
    EXPECT_EQ(model.respond(scan).delay, std::chrono::milliseconds(0));
}

TEST(ModelProbes, SemiAutomaticRegistrationTakesTheFoundProbe) {
    DeviceModel model(1);
    ASSERT_TRUE(set06(model, 0x1102, 0xFF));
    ASSERT_TRUE(set06(model, 0x1107, 1));
    ASSERT_TRUE(set06(model, 0x1100, 5));
    const Bytes reply = write10(model, 0x1101, {0, 3});
    EXPECT_EQ(reply, frameRequest(1, Bytes{0x10, 0x11, 0x01, 0x00, 0x02}));
    EXPECT_EQ(readReg(model, 0x1102), 3);
    EXPECT_NE(readRegs(model, 0x1103, 4), kNoProbe);
    EXPECT_EQ(identityOf(model, 2), kNoProbe);
    // Channel 0 (an empty form field), beyond the maximum, or a non-zero command.
    EXPECT_EQ(exceptionCode(write10(model, 0x1101, {0, 0})), 3);
    EXPECT_EQ(exceptionCode(write10(model, 0x1101, {0, 6})), 3);
    EXPECT_EQ(exceptionCode(write10(model, 0x1101, {1, 2})), 3);
    EXPECT_EQ(identityOf(model, 2), kNoProbe);
}

TEST(ModelProbes, ManualRegistrationStoresTheIdentityAsSent) {
    DeviceModel model(1);
    EXPECT_TRUE(set10(model, 0x1102, {3, 0x28FF, 0x4C01, 0x0000, 0x00A2}));
    EXPECT_EQ(readReg(model, 0x1102), 3);
    EXPECT_EQ(identityOf(model, 3), (std::vector<uint16_t>{0x28FF, 0x4C01, 0x0000, 0x00A2}));
    // An identity alone goes to the selected channel.
    ASSERT_TRUE(set06(model, 0x1102, 7));
    EXPECT_TRUE(set10(model, 0x1103, {0x280A, 1, 2, 3}));
    EXPECT_EQ(identityOf(model, 7), (std::vector<uint16_t>{0x280A, 1, 2, 3}));

    EXPECT_EQ(exceptionCode(write10(model, 0x1102, {4, 0, 0, 0, 0})), 3) << "no probe is zero";
    EXPECT_EQ(exceptionCode(write10(model, 0x1102, {0xFF, 1, 2, 3, 4})), 3);
    ASSERT_TRUE(set06(model, 0x1100, 2));
    EXPECT_EQ(exceptionCode(write10(model, 0x1102, {3, 1, 2, 3, 4})), 3);
    EXPECT_EQ(exceptionCode(write10(model, 0x1102, {3, 1, 2})), 3) << "neither shape";
    ASSERT_TRUE(set06(model, 0x1100, 40));
    EXPECT_EQ(identityOf(model, 3), (std::vector<uint16_t>{0x28FF, 0x4C01, 0x0000, 0x00A2}));
}

}  // namespace
