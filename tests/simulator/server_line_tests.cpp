// The device's side of the line: framing of odd byte streams, line pacing at a slow rate,
// and a crafted reply from a bare pseudo-terminal peer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "PtyEndpoint.h"
#include "ServerTestSupport.h"

using namespace servertest;

namespace {

class LineFramingTest : public DeviceLinkTest {
  protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        ASSERT_TRUE(open());
    }
    void send(const Bytes& bytes) {
        ASSERT_EQ(writePort(LinkSettings::portHandle, bytes.data(), bytes.size()), bytes.size());
    }
};

TEST_F(LineFramingTest, AFragmentIsDroppedAfterAPauseAndTheNextRequestIsAnswered) {
    send({0x01, 0x03, 0x00});
    std::this_thread::sleep_for(milliseconds(150));
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);

    const auto log = m_server.requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].bytes, (Bytes{0x01, 0x03, 0x00}));
    EXPECT_EQ(log[1].bytes, frameRequest(1, readHoldingRequest(0x0050, 1)));
}

TEST_F(LineFramingTest, ARequestWithABadCrcIsLoggedButNotAnswered) {
    Bytes request = frameRequest(1, writeSingleRequest(kIrInterval, 90));
    request.back() ^= 0x80;
    send(request);
    EXPECT_EQ(waitForRxBytes(LinkSettings::portHandle, 1, 300), 0u);
    EXPECT_NE(m_server.registerValue(kIrInterval), 90);
    ASSERT_EQ(m_server.requests().size(), 1u);
    EXPECT_EQ(m_server.requests()[0].bytes, request);
}

TEST_F(LineFramingTest, AnUnknownFunctionEndsAtTheIdleGapAndGetsAnExceptionReply) {
    const Bytes request = frameRequest(1, Bytes{0x2B, 0x0E, 0x01, 0x00});
    send(request);
    ASSERT_EQ(waitForRxBytes(LinkSettings::portHandle, 5, 1000), 5u);
    Bytes reply(5);
    ASSERT_EQ(readPort(LinkSettings::portHandle, reply.data(), reply.size()), 5u);
    EXPECT_EQ(reply[1], 0x2B | 0x80);
    EXPECT_TRUE(frameCrcOk(reply));
    EXPECT_EQ(m_server.requests().at(0).bytes, request);
}

TEST_F(LineFramingTest, TwoRequestsInOneWriteAreBothAnswered) {
    Bytes both = frameRequest(1, readHoldingRequest(0x0050, 1));
    const Bytes second = frameRequest(1, writeSingleRequest(kIrInterval, 12));
    both.insert(both.end(), second.begin(), second.end());
    send(both);
    EXPECT_EQ(waitForRxBytes(LinkSettings::portHandle, 15, 1000), 15u);
    EXPECT_EQ(m_server.requests().size(), 2u);
    EXPECT_EQ(m_server.registerValue(kIrInterval), 12);
}

class PacedLineTest : public DeviceLinkTest {
  protected:
    PacedLineTest() : DeviceLinkTest(DeviceServer::Options{1, 1200}) {}
};

// 255 bytes at 1200 baud take 2.125 s on the line: longer than the usual 1000 ms time-out.
TEST_F(PacedLineTest, TheFullLiveReadSucceedsAtTwelveHundredBaudAndTakesItsLineTime) {
    LinkSettings::baudRate = 1200;
    ASSERT_TRUE(open());
    const auto start = Clock::now();
    EXPECT_EQ(readLive(), ExchangeResult::Ok);
    EXPECT_GE(Clock::now() - start, milliseconds(2000));

    m_server.setPaceBaud(0);
    const auto unpaced = Clock::now();
    EXPECT_EQ(readLive(), ExchangeResult::Ok);
    EXPECT_LT(Clock::now() - unpaced, milliseconds(1500));
}

TEST_F(PacedLineTest, ALateReplyQueuesBehindAReplyStillOnTheLine) {
    LinkSettings::baudRate = 1200;
    ASSERT_TRUE(open());
    // The late reply falls due while the long one is still being sent; it must not
    // interleave with it.
    m_server.injectFault(FaultKind::Late, 1, 300);
    const Bytes first = frameRequest(1, readHoldingRequest(0x0050, 1));
    Bytes both = first;
    const Bytes second = frameRequest(1, readHoldingRequest(0x0000, 121));
    both.insert(both.end(), second.begin(), second.end());
    ASSERT_EQ(writePort(LinkSettings::portHandle, both.data(), both.size()), both.size());
    ASSERT_EQ(waitForRxBytes(LinkSettings::portHandle, 254, 5000), 254u);
    Bytes replies(254);
    ASSERT_EQ(readPort(LinkSettings::portHandle, replies.data(), replies.size()), 254u);
    EXPECT_TRUE(frameCrcOk(std::span(replies).first(247))) << "the long reply came whole";
    EXPECT_TRUE(frameCrcOk(std::span(replies).last(7))) << "the late reply came after it";
}

// A reply whose function code differs from the request's still passes the three checks.
TEST(BarePeerTest, AReplyWithFunction83OfTheRightLengthAndCrcIsAccepted) {
    PtyEndpoint peer;
    ASSERT_TRUE(peer.open());
    setPortPath(kPort, peer.slavePath());
    LinkSettings::deviceAddress = 1;
    ASSERT_NE(openSerialPort(kPort, 9600), nullptr);

    std::thread device([&peer] {
        uint8_t request[8];
        size_t got = 0;
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (got < sizeof request && Clock::now() < deadline) {
            const ssize_t n = read(peer.masterFd(), request + got, sizeof request - got);
            got += n > 0 ? static_cast<size_t>(n) : 0;
            std::this_thread::sleep_for(milliseconds(1));
        }
        const Bytes reply = frameRequest(1, Bytes{0x83, 0x02, 0x00, 0x2A});
        [[maybe_unused]] const ssize_t n = write(peer.masterFd(), reply.data(), reply.size());
    });
    Bytes reply;
    EXPECT_EQ(ModbusExchange::exchange(readHoldingRequest(0x0050, 1), 7, kTimeoutMs, reply),
              ExchangeResult::Ok);
    device.join();
    EXPECT_EQ(reply.size(), 7u);
    EXPECT_EQ(replyRegister(reply, 0), 0x002A);
    closeSerialPort();
    clearPortPaths();
}

}  // namespace
