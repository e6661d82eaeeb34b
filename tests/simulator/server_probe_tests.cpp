// The temperature probe commands over the line as the program sends them, and the fully
// automatic registration, whose reply comes only once the device has scanned its bus.
#include <gtest/gtest.h>

#include <initializer_list>
#include <thread>
#include <vector>

#include "ServerTestSupport.h"

using namespace servertest;

namespace {

constexpr uint16_t kMaxProbes = 0x1100;
constexpr uint16_t kRegister = 0x1101;
constexpr uint16_t kChannel = 0x1102;
constexpr uint16_t kIdentity = 0x1103;
constexpr uint16_t kErase = 0x1107;
constexpr uint16_t kAll = 0x00FF;
constexpr uint32_t kScanTimeoutMs = 7000;
const std::vector<uint16_t> kNoProbe{0, 0, 0, 0};

class ProbeLinkTest : public DeviceLinkTest {
  protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        ASSERT_TRUE(open());
    }

    // Ok only when the device echoed the request.
    ExchangeResult write06(uint16_t reg, uint16_t value) {
        const Bytes pdu = writeSingleRequest(reg, value);
        Bytes reply;
        const ExchangeResult result = run(pdu, kWriteReplyLength, reply);
        return result == ExchangeResult::Ok && reply == frameRequest(1, pdu)
                   ? ExchangeResult::Ok
                   : ExchangeResult::Failed;
    }

    // Ok only when the device answered the request's start and quantity.
    ExchangeResult write16(uint16_t start, std::initializer_list<uint16_t> values) {
        Bytes data;
        for (uint16_t v : values) {
            data.push_back(static_cast<uint8_t>(v >> 8));
            data.push_back(static_cast<uint8_t>(v & 0xFF));
        }
        Bytes reply;
        const ExchangeResult result =
            run(writeMultipleRequest(start, data), kWriteReplyLength, reply);
        const Bytes expected = frameRequest(
            1, Bytes{0x10, static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start & 0xFF), 0,
                     static_cast<uint8_t>(values.size())});
        return result == ExchangeResult::Ok && reply == expected ? ExchangeResult::Ok
                                                                 : ExchangeResult::Failed;
    }

    std::vector<uint16_t> read03(uint16_t start, uint16_t count) {
        Bytes reply;
        if (run(readHoldingRequest(start, count), readReplyLength(count), reply) !=
            ExchangeResult::Ok) {
            return {};
        }
        std::vector<uint16_t> values;
        for (size_t i = 0; i < count; ++i) {
            values.push_back(replyRegister(reply, i));
        }
        return values;
    }

    // The identity read-back: the channel to 0x1102, then the four identity registers.
    std::vector<uint16_t> identityOf(uint16_t channel) {
        EXPECT_EQ(write06(kChannel, channel), ExchangeResult::Ok) << "channel " << channel;
        return read03(kIdentity, 4);
    }

    void eraseAll() {
        ASSERT_EQ(write06(kChannel, kAll), ExchangeResult::Ok);
        ASSERT_EQ(write06(kErase, 1), ExchangeResult::Ok);
    }

    void sendRaw(const Bytes& frame) {
        ASSERT_EQ(writePort(LinkSettings::portHandle, frame.data(), frame.size()), frame.size());
    }

    // Waits until the device has taken in `count` requests in all.
    void awaitRequests(size_t count) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (m_server.requests().size() < count && Clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(5));
        }
        ASSERT_EQ(m_server.requests().size(), count);
    }
};

TEST_F(ProbeLinkTest, CountRegistrationReadBackAndEraseWorkAsThePageSendsThem) {
    ASSERT_EQ(write06(kMaxProbes, 40), ExchangeResult::Ok);
    EXPECT_EQ(read03(kMaxProbes, 1), std::vector<uint16_t>{40});
    EXPECT_EQ(write06(kMaxProbes, 41), ExchangeResult::Failed);
    EXPECT_EQ(read03(kMaxProbes, 1), std::vector<uint16_t>{40});
    eraseAll();
    EXPECT_EQ(identityOf(5), kNoProbe);

    // Semi-automatic: 13-byte request, 0x1101 = 0 and 0x1102 = the channel.
    ASSERT_EQ(write16(kRegister, {0, 5}), ExchangeResult::Ok);
    const std::vector<uint16_t> fifth = identityOf(5);
    ASSERT_EQ(fifth.size(), 4u);
    EXPECT_NE(fifth, kNoProbe);
    EXPECT_EQ(fifth[0] >> 8, 0x28) << "a temperature probe's family byte leads";

    // Manual: 19-byte request, the channel then the identity as typed.
    ASSERT_EQ(write16(kChannel, {3, 0x28FF, 0x4C01, 0x0000, 0x00A2}), ExchangeResult::Ok);
    EXPECT_EQ(identityOf(3), (std::vector<uint16_t>{0x28FF, 0x4C01, 0x0000, 0x00A2}));

    ASSERT_EQ(write06(kChannel, 3), ExchangeResult::Ok);
    ASSERT_EQ(write06(kErase, 1), ExchangeResult::Ok);
    EXPECT_EQ(identityOf(3), kNoProbe);
    EXPECT_EQ(identityOf(5), fifth) << "erasing one channel leaves the others";

    // A channel beyond the count is refused, "all" never is.
    ASSERT_EQ(write06(kMaxProbes, 4), ExchangeResult::Ok);
    EXPECT_EQ(write06(kChannel, 5), ExchangeResult::Failed);
    EXPECT_EQ(write16(kRegister, {0, 5}), ExchangeResult::Failed);
    eraseAll();
    ASSERT_EQ(write06(kMaxProbes, 40), ExchangeResult::Ok);
    EXPECT_EQ(identityOf(5), kNoProbe);
}

TEST_F(ProbeLinkTest, FullyAutomaticRegistrationFailsAShortWaitAndPassesTheLongOne) {
    m_server.setAutoRegistrationDelayMs(1500);
    eraseAll();
    ASSERT_EQ(write06(kMaxProbes, 10), ExchangeResult::Ok);
    const Bytes scan = writeSingleRequest(kRegister, 1);
    EXPECT_EQ(run(scan, kWriteReplyLength), ExchangeResult::Failed) << "1000 ms is too short";
    EXPECT_EQ(waitForQueue(8, std::chrono::seconds(5)), 8u) << "the reply comes whole, late";

    closeSerialPort();
    ASSERT_TRUE(open());
    Bytes reply;
    ASSERT_EQ(ModbusExchange::exchange(scan, kWriteReplyLength, kScanTimeoutMs, reply),
              ExchangeResult::Ok);
    EXPECT_EQ(reply, frameRequest(1, scan));
    EXPECT_NE(identityOf(1), kNoProbe);
    EXPECT_NE(identityOf(10), kNoProbe);
    ASSERT_EQ(write06(kMaxProbes, 40), ExchangeResult::Ok);
    EXPECT_EQ(identityOf(11), kNoProbe) << "the scan stops at the count";
}

TEST_F(ProbeLinkTest, StoppingDoesNotWaitForAPendingRegistrationReply) {
    m_server.setAutoRegistrationDelayMs(60'000);
    sendRaw(frameRequest(1, writeSingleRequest(kRegister, 1)));
    awaitRequests(1);
    const auto start = Clock::now();
    m_server.stop();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(20));
    EXPECT_FALSE(m_server.running());
}

TEST_F(ProbeLinkTest, AReplyPendingAtStopIsNeverSentAndTheRestartedDeviceAnswers) {
    m_server.setAutoRegistrationDelayMs(1000);
    sendRaw(frameRequest(1, writeSingleRequest(kRegister, 1)));
    awaitRequests(1);
    m_server.stop();
    closeSerialPort();

    ASSERT_TRUE(m_server.start());
    setPortPath(kPort, m_server.path());
    ASSERT_TRUE(open());
    EXPECT_EQ(waitForQueue(1, milliseconds(2500)), 0u) << "the old reply stays unsent";
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);
}

}  // namespace
