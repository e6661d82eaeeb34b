// Request/reply exchanges against a scripted device on the master side of a pty.
#include <chrono>
#include <future>
#include <thread>

#include "ModbusCrc.h"
#include "ModbusExchange.h"
#include "PtyPortTest.h"

namespace {

using namespace std::chrono_literals;

Bytes withCrc(Bytes frame) {
    const uint16_t crc = modbusCrc16(frame.data(), static_cast<int32_t>(frame.size()));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    return frame;
}

const Bytes kCurrentReply = withCrc({0x01, 0x03, 0x02, 0x80, 0x7B});

class Exchange : public PtyPortTest {
  protected:
    void SetUp() override {
        PtyPortTest::SetUp();
        LinkSettings::deviceAddress = 1;
        ASSERT_NE(openPort(), nullptr);
    }

    // The device reads one request of `requestLength` bytes and answers with `reply`
    // (nothing when it is empty). The future yields the request as received.
    std::future<Bytes> answer(Bytes reply, size_t requestLength = 8) {
        return std::async(std::launch::async, [this, reply, requestLength] {
            Bytes request = pty.receive(requestLength, 5s);
            if (!reply.empty()) {
                pty.send(reply);
            }
            return request;
        });
    }

    ExchangeResult readCurrent(Bytes& reply, uint32_t timeoutMs = 1000) {
        return ModbusExchange::exchange(readHoldingRequest(0x0050, 1), readReplyLength(1),
                                        timeoutMs, reply);
    }
};

TEST_F(Exchange, GoodReplyIsReturnedWhole) {
    LinkSettings::deviceAddress = 257;  // only the low byte goes on the wire
    auto device = answer(kCurrentReply);
    Bytes reply;
    ASSERT_EQ(readCurrent(reply), ExchangeResult::Ok);
    EXPECT_EQ(reply, kCurrentReply);
    EXPECT_EQ(replyRegister(reply, 0), 0x807B);
    EXPECT_EQ(device.get(), (Bytes{0x01, 0x03, 0x00, 0x50, 0x00, 0x01, 0x84, 0x1B}));
}

TEST_F(Exchange, WriteMultipleRequestGoesOutWhole) {
    const Bytes values{0x20, 0x24, 0x06, 0x01, 0x12, 0x30, 0x45, 0x00};
    const Bytes pdu = writeMultipleRequest(0x1006, values);
    auto device = answer(withCrc({0x01, 0x10, 0x10, 0x06, 0x00, 0x04}), 9 + 2 * 4);
    Bytes reply;
    EXPECT_EQ(ModbusExchange::exchange(pdu, kWriteReplyLength, 1000, reply), ExchangeResult::Ok);
    EXPECT_EQ(device.get(), frameRequest(1, pdu));
}

TEST_F(Exchange, OnlyLengthAndCrcAreChecked) {
    // An exception function code, a wrong address, a wrong byte count: all accepted.
    const Bytes odd = withCrc({0x09, 0x83, 0x7E, 0x00, 0x02});
    auto device = answer(odd);
    Bytes reply;
    EXPECT_EQ(readCurrent(reply), ExchangeResult::Ok);
    EXPECT_EQ(reply, odd);
    device.get();
}

TEST_F(Exchange, MalformedRepliesFail) {
    Bytes badCrc = kCurrentReply;
    badCrc.back() ^= 0x01;
    const Bytes shortReply = withCrc({0x01, 0x83, 0x02});  // an exception reply, 5 bytes
    Bytes longReply = kCurrentReply;
    longReply.push_back(0x00);  // the first 7 bytes alone would pass
    const Bytes cases[] = {badCrc, shortReply, longReply, Bytes{}};
    for (const Bytes& bad : cases) {
        auto device = answer(bad);
        Bytes reply{0xAA};
        EXPECT_EQ(readCurrent(reply, 300), ExchangeResult::Failed) << bad.size();
        EXPECT_TRUE(reply.empty());
        device.get();
        discardRxBytes(LinkSettings::portHandle);
    }
}

TEST_F(Exchange, StaleBytesOfALateReplyAreDiscarded) {
    auto first = answer(kCurrentReply);
    Bytes reply;
    ASSERT_EQ(readCurrent(reply), ExchangeResult::Ok);
    first.get();

    pty.send({0x01, 0x03, 0x02});  // the tail of a reply that came too late
    ASSERT_EQ(waitForRxBytes(LinkSettings::portHandle, 3, 5000), 3u);

    auto second = answer(kCurrentReply);
    EXPECT_EQ(readCurrent(reply), ExchangeResult::Ok);
    EXPECT_EQ(reply, kCurrentReply);
    second.get();
}

TEST_F(Exchange, NoOpenPortFailsAtOnce) {
    closeSerialPort();
    Bytes reply;
    const long long waited =
        elapsedMs([&] { EXPECT_EQ(readCurrent(reply, 10000), ExchangeResult::Failed); });
    EXPECT_LT(waited, 5000);
}

TEST_F(Exchange, SilentDeviceFailsAfterTheTimeout) {
    Bytes reply;
    const long long waited =
        elapsedMs([&] { EXPECT_EQ(readCurrent(reply, 500), ExchangeResult::Failed); });
    EXPECT_GE(waited, 500);
    EXPECT_LT(waited, 3500);
}

TEST_F(Exchange, SlowLineWaitsLongerThanAskedFor) {
    ASSERT_NE(openPort(1200), nullptr);
    Bytes reply;
    // 7 bytes at 1200 baud take 58 ms on the line: the wait is at least 159 ms.
    const long long waited =
        elapsedMs([&] { EXPECT_EQ(readCurrent(reply, 10), ExchangeResult::Failed); });
    EXPECT_GE(waited, 159);
}

TEST_F(Exchange, VanishedDeviceFailsWithoutHanging) {
    pty.closeMaster();
    Bytes reply;
    const long long waited =
        elapsedMs([&] { EXPECT_EQ(readCurrent(reply, 20000), ExchangeResult::Failed); });
    EXPECT_LT(waited, 5000);
}

}  // namespace
