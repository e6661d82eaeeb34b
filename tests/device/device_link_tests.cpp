// The register link against the simulated device over a real pseudo-terminal: the bytes each
// command sends, what it gives back, failures that give back nothing, and the port it holds.
#include <gtest/gtest.h>

#include "DeviceReads.h"
#include "LiveBlock.h"
#include "RegisterLink.h"
#include "ServerTestSupport.h"
#include "StoredRecords.h"

using namespace servertest;

namespace {

class RegisterLinkTest : public DeviceLinkTest {
  protected:
    Bytes lastRequest() const {
        const auto log = m_server.requests();
        return log.empty() ? Bytes{} : log.back().bytes;
    }
    LinkPort port;
};

}  // namespace

TEST_F(RegisterLinkTest, ReadsAndWritesSendTheirFunctionAndGiveBackOnlyTheData) {
    m_server.setRegister(0x1000, 300);
    m_server.setRegister(0x1001, 0x8001);
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.readHolding(0x1000, 2), (Registers{300, 0x8001}));
    EXPECT_EQ(lastRequest(), (Bytes{0x01, 0x03, 0x10, 0x00, 0x00, 0x02, 0xC0, 0xCB}));
    EXPECT_EQ(port.readHoldingBytes(0x1000, 2), (DataBytes{0x01, 0x2C, 0x80, 0x01}));

    ASSERT_TRUE(port.read(inputs(reg::kIrMoment, 4)).has_value());
    EXPECT_EQ(lastRequest()[1], 0x04);

    EXPECT_TRUE(port.writeRegister(0x1000, 12));
    EXPECT_EQ(m_server.registerValue(0x1000), 12);
    const uint16_t clock[] = {0x2024, 0x0506, 0x0708, 0x0900};
    EXPECT_TRUE(port.writeRegisters(reg::kClock, clock));
    EXPECT_EQ(lastRequest().size(), 17u);
    EXPECT_EQ(m_server.registerValue(0x1006), 0x0506);
    // Function 16 even for one register, where the device expects it.
    EXPECT_TRUE(port.write(writeMany(0x1000, {7})));
    EXPECT_EQ(lastRequest()[1], 0x10);
    EXPECT_EQ(lastRequest().size(), 11u);
}

TEST_F(RegisterLinkTest, TheWholeLiveBlockComesBackDecoded) {
    m_server.setRegister(reg::kVoltages + 39, 3456);
    m_server.setRegister(reg::kCurrent, 0x8000 | 200);
    m_server.setRegister(reg::kTemperatures, 0x8000 | 50);
    ASSERT_TRUE(port.open());
    const auto regs = port.read(holding(reg::kLiveBlock, reg::kLiveBlockCount));
    ASSERT_TRUE(regs.has_value());
    const auto live = decodeLiveBlock(*regs);
    ASSERT_TRUE(live.has_value());
    EXPECT_EQ(live->voltages[39], 3.456);
    EXPECT_EQ(live->current, -20.0);
    EXPECT_EQ(live->temperatures[0], -5.0);
}

TEST_F(RegisterLinkTest, AFailedExchangeGivesNothingBack) {
    ASSERT_TRUE(port.open());
    for (FaultKind fault : {FaultKind::Silent, FaultKind::Short, FaultKind::Long, FaultKind::BadCrc,
                            FaultKind::Exception, FaultKind::Garbage}) {
        m_server.injectFault(fault);
        EXPECT_FALSE(port.readHolding(0x0050, 1).has_value()) << static_cast<int>(fault);
        m_server.injectFault(fault);
        EXPECT_FALSE(port.writeRegister(0x1000, 1)) << static_cast<int>(fault);
    }
    EXPECT_TRUE(port.readHolding(0x0050, 1).has_value()) << "the link recovers at once";
}

TEST_F(RegisterLinkTest, AMissingPortSendsNothingAndSaysWhy) {
    LinkSettings::portNumber = 12;  // /dev/ttyS11: not here
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::NoSuchDevice);
    EXPECT_FALSE(port.readHolding(0, 1).has_value()) << "asked anyway: fails, no crash";
    EXPECT_TRUE(m_server.requests().empty());
}

TEST_F(RegisterLinkTest, ThePortIsHeldUntilClosedOrGone) {
    {
        LinkPort scoped;
        ASSERT_TRUE(scoped.open());
        EXPECT_NE(LinkSettings::portHandle, nullptr);
    }
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.open()) << "opening again replaces the port this one holds";
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    port.close();  // harmless twice
}

TEST_F(RegisterLinkTest, ConfigurationIsReadWithThePagesRequests) {
    m_server.setRegister(reg::kTempLimits, 0x2D94);
    m_server.setRegister(reg::kVoltLimits, 0x8C69);
    m_server.setRegister(reg::kIrMask + 2, 0x0001);  // resistance: channel 1
    ASSERT_TRUE(port.open());
    m_server.clearRequests();
    const auto limits = readLimits(port);
    ASSERT_TRUE(limits.has_value());
    EXPECT_EQ(limits->tempLower, -20);
    EXPECT_EQ(limits->voltUpper, 14.0);
    const auto masks = readMasks(port);
    ASSERT_TRUE(masks.has_value());
    EXPECT_TRUE(masks->resistance[0]);
    EXPECT_FALSE(masks->resistance[1]);
    const auto log = m_server.requests();
    ASSERT_EQ(log.size(), 7u) << "four limit reads of one register, three mask reads of three";
    EXPECT_EQ(log[0].bytes, frameRequest(1, readHoldingRequest(reg::kTempLimits, 1)));
    EXPECT_EQ(log[6].bytes, frameRequest(1, readInputRequest(reg::kTempMask, 3)));

    m_server.injectFault(FaultKind::Silent);
    EXPECT_FALSE(readIdentity(port).has_value());
    m_server.passReplies(2);
    m_server.injectFault(FaultKind::BadCrc);
    EXPECT_FALSE(readMasks(port).has_value()) << "one piece lost spoils the whole";
}

TEST_F(RegisterLinkTest, StoredRecordsAreCountedPositionedAndReadInOrder) {
    m_server.seedResistanceRecords(3);
    m_server.seedVoltageRecords(2, 4);
    m_server.seedAlarmRecords(0);
    ASSERT_TRUE(port.open());
    int heard = 0;
    const RecordRead resistance =
        readStoredRecords(port, RecordKind::Resistance, 1, [&](int read, int expected) {
            heard = read;
            EXPECT_EQ(expected, 3);
        });
    EXPECT_EQ(resistance.outcome, RecordRead::Outcome::Complete);
    ASSERT_EQ(resistance.records.size(), 3u);
    EXPECT_EQ(resistance.records[2].number, 3);
    EXPECT_EQ(heard, 3);

    const RecordRead voltage = readStoredRecords(port, RecordKind::Voltage, 2);
    EXPECT_EQ(voltage.outcome, RecordRead::Outcome::Complete);
    EXPECT_EQ(voltage.expected, 4);
    EXPECT_EQ(voltage.records.size(), 4u);
    EXPECT_EQ(m_server.registerValue(reg::kVoltageGroup), 2);

    const RecordRead alarms = readStoredRecords(port, RecordKind::Alarm);
    EXPECT_EQ(alarms.outcome, RecordRead::Outcome::Complete) << "an empty store is an answer";
    EXPECT_TRUE(alarms.records.empty());
}

TEST_F(RegisterLinkTest, ARecordReadCutShortKeepsTheRecordsBefore) {
    m_server.seedAlarmRecords(5);
    ASSERT_TRUE(port.open());
    m_server.passReplies(4);  // count, position, two records
    m_server.injectFault(FaultKind::Short);
    const RecordRead read = readStoredRecords(port, RecordKind::Alarm);
    EXPECT_EQ(read.outcome, RecordRead::Outcome::Broken);
    EXPECT_EQ(read.expected, 5);
    EXPECT_EQ(read.records.size(), 2u);

    m_server.passReplies(1);
    m_server.injectFault(FaultKind::Exception);
    EXPECT_EQ(readStoredRecords(port, RecordKind::Alarm).outcome, RecordRead::Outcome::NotPlaced);
    m_server.injectFault(FaultKind::Silent);
    EXPECT_EQ(readStoredRecords(port, RecordKind::Alarm).outcome, RecordRead::Outcome::NoCount);
}
