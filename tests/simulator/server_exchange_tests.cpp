// Clean exchanges with the simulated device through the real serial layer: replies, the
// request log, addressing, and a device that keeps its state across many openings.
#include <gtest/gtest.h>

#include <thread>

#include "ServerTestSupport.h"

using namespace servertest;

namespace {

class CleanExchangeTest : public DeviceLinkTest {};

TEST_F(CleanExchangeTest, ReadsAndWritesOfEveryFunctionSucceedWithTheirReplyLengths) {
    ASSERT_TRUE(open());
    Bytes reply;
    ASSERT_EQ(run(readHoldingRequest(0x0000, 121), kLiveReplyLength, reply), ExchangeResult::Ok);
    EXPECT_EQ(reply[0], 0x01);
    EXPECT_EQ(reply[1], 0x03);
    EXPECT_EQ(reply[2], 242);

    ASSERT_EQ(run(readHoldingRequest(0x0050, 1), 7, reply), ExchangeResult::Ok);
    EXPECT_EQ(reply.size(), 7u);

    ASSERT_EQ(run(writeSingleRequest(kIrInterval, 36), kWriteReplyLength, reply),
              ExchangeResult::Ok);
    EXPECT_EQ(reply, frameRequest(1, writeSingleRequest(kIrInterval, 36)))
        << "a single write is echoed";
    EXPECT_EQ(m_server.registerValue(kIrInterval), 36);

    const uint8_t limits[] = {0x8C, 0x69, 0x00, 0x78};
    ASSERT_EQ(run(writeMultipleRequest(kVoltLimits, limits), kWriteReplyLength, reply),
              ExchangeResult::Ok);
    EXPECT_EQ(m_server.registerValue(kVoltLimits + 1), 0x0078);
}

TEST_F(CleanExchangeTest, TheDeviceLogsEachRequestExactlyAsSentWithItsTime) {
    LinkSettings::deviceAddress = 257;  // only the low byte goes on the wire
    const uint8_t data[] = {0x00, 0x18, 0x00, 0x64};
    const std::vector<Bytes> pdus = {readHoldingRequest(0x0050, 1),
                                     writeSingleRequest(kIrInterval, 24),
                                     writeMultipleRequest(kVoltLimits, data)};
    const size_t lengths[] = {7, kWriteReplyLength, kWriteReplyLength};
    ASSERT_TRUE(open());
    const auto before = Clock::now();
    for (size_t i = 0; i < pdus.size(); ++i) {
        ASSERT_EQ(run(pdus[i], lengths[i]), ExchangeResult::Ok) << "request " << i;
    }
    const auto after = Clock::now();

    const auto log = m_server.requests();
    ASSERT_EQ(log.size(), pdus.size());
    for (size_t i = 0; i < pdus.size(); ++i) {
        EXPECT_EQ(log[i].bytes, frameRequest(1, pdus[i])) << "request " << i;
        EXPECT_EQ(log[i].bytes.front(), 0x01);
        EXPECT_GE(log[i].time, before);
        EXPECT_LE(log[i].time, after);
    }
    m_server.clearRequests();
    EXPECT_TRUE(m_server.requests().empty());
}

TEST_F(CleanExchangeTest, TheLogKeepsTheLatestRequestsAndNumbersEveryOne) {
    ASSERT_TRUE(open());
    // Frames for another address are logged but not answered: a quick way to fill the log.
    const size_t sent = DeviceServer::kRequestLogLimit + 100;
    Bytes burst;
    for (size_t i = 0; i < sent; ++i) {
        const Bytes frame = frameRequest(9, readHoldingRequest(static_cast<uint16_t>(i), 1));
        burst.insert(burst.end(), frame.begin(), frame.end());
    }
    ASSERT_EQ(writePort(LinkSettings::portHandle, burst.data(), burst.size()), burst.size());
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (m_server.requestsSeen() < sent && Clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    ASSERT_EQ(m_server.requestsSeen(), sent);

    const auto log = m_server.requests();
    ASSERT_EQ(log.size(), DeviceServer::kRequestLogLimit);
    EXPECT_EQ(log.front().sequence, 100u);
    EXPECT_EQ(log.front().bytes, frameRequest(9, readHoldingRequest(100, 1)));
    EXPECT_EQ(log.back().sequence, sent - 1);
    EXPECT_EQ(log.back().bytes,
              frameRequest(9, readHoldingRequest(static_cast<uint16_t>(sent - 1), 1)));
    EXPECT_EQ(m_server.requestsSince(sent - 2).size(), 2u);
    EXPECT_EQ(m_server.requestsSince(0).size(), log.size());  // what is gone stays gone
    EXPECT_TRUE(m_server.requestsSince(sent).empty());

    m_server.clearRequests();
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);
    const auto after = m_server.requestsSince(sent);
    ASSERT_EQ(after.size(), 1u);  // numbering goes on across a clear
    EXPECT_EQ(after[0].sequence, sent);
}

TEST_F(CleanExchangeTest, TwentyOpeningsInARowAllSucceedAndTheDeviceKeepsItsState) {
    Bytes reply;
    ASSERT_EQ(command(writeSingleRequest(kIrInterval, 48), kWriteReplyLength, reply),
              ExchangeResult::Ok);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(command(readHoldingRequest(kIrInterval, 1), 7, reply), ExchangeResult::Ok)
            << "opening " << i;
        EXPECT_EQ(replyRegister(reply, 0), 48) << "opening " << i;
    }
    EXPECT_EQ(m_server.requests().size(), 21u);
}

class AddressFiveTest : public DeviceLinkTest {
  protected:
    AddressFiveTest() : DeviceLinkTest(DeviceServer::Options{5, 0}) {}
};

TEST_F(AddressFiveTest, OnlyFramesForItsOwnAddressAreAnsweredButAllAreLogged) {
    ASSERT_TRUE(open());
    LinkSettings::deviceAddress = 1;
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    LinkSettings::deviceAddress = 0;  // broadcast: never answered
    EXPECT_EQ(run(writeSingleRequest(kIrInterval, 60), kWriteReplyLength), ExchangeResult::Failed);
    EXPECT_NE(m_server.registerValue(kIrInterval), 60);
    LinkSettings::deviceAddress = 5;
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);

    const auto log = m_server.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].bytes, frameRequest(1, readHoldingRequest(0x0050, 1)));
    EXPECT_EQ(log[1].bytes.front(), 0x00);
    EXPECT_EQ(log[2].bytes.front(), 0x05);
}

TEST_F(CleanExchangeTest, AVanishedDeviceFailsTheExchangeQuicklyAndCannotBeReopened) {
    ASSERT_TRUE(open());
    ASSERT_EQ(readCurrent(), ExchangeResult::Ok);
    m_server.vanish();
    EXPECT_TRUE(m_server.vanished());

    const auto start = Clock::now();
    EXPECT_EQ(readLive(), ExchangeResult::Failed);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    closeSerialPort();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(openSerialPort(kPort, 9600), nullptr);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

}  // namespace
