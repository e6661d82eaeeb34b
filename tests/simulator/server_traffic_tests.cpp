// The traffic record against the simulated device: what the program records as sent and
// received is, byte for byte, what the device got and sent, faulty replies included.
#include <gtest/gtest.h>

#include "ServerTestSupport.h"
#include "TrafficRecorder.h"

using namespace servertest;

namespace {

class TrafficRecordTest : public DeviceLinkTest {
  protected:
    // A short time-out keeps the faulty exchanges quick; it is still above the line's floor.
    static ExchangeResult quick(const Bytes& pdu, size_t replyLength) {
        Bytes reply;
        return ModbusExchange::exchange(pdu, replyLength, 200, reply);
    }
    static ExchangeResult readCurrentQuick() {
        return quick(readHoldingRequest(0x0050, 1), readReplyLength(1));
    }
};

}  // namespace

TEST_F(TrafficRecordTest, RecordsExactlyTheBytesTheDeviceGotAndSent) {
    ASSERT_TRUE(open());
    m_server.injectFault(FaultKind::Short, 1);
    m_server.injectFault(FaultKind::BadCrc, 1);
    m_server.injectFault(FaultKind::Exception, 1);
    m_server.injectFault(FaultKind::Long, 1);
    m_server.injectFault(FaultKind::Garbage, 1);
    m_server.injectFault(FaultKind::Late, 1, 400);
    m_server.clearRequests();
    trafficRecorder().clear();
    const uint64_t first = trafficRecorder().nextSequence();

    EXPECT_EQ(readCurrentQuick(), ExchangeResult::Failed);
    EXPECT_EQ(readCurrentQuick(), ExchangeResult::Failed);
    EXPECT_EQ(quick(writeSingleRequest(kIrInterval, 72), kWriteReplyLength),
              ExchangeResult::Failed);
    EXPECT_EQ(quick(readHoldingRequest(0x0000, 121), kLiveReplyLength), ExchangeResult::Failed);
    EXPECT_EQ(readCurrentQuick(), ExchangeResult::Failed);
    EXPECT_EQ(readCurrentQuick(), ExchangeResult::Failed);
    ASSERT_EQ(waitForQueue(7, std::chrono::seconds(5)), 7u) << "the late reply arrived";
    const uint8_t limits[] = {0x00, 0xF0, 0x00, 0x64};
    EXPECT_EQ(quick(writeMultipleRequest(kVoltLimits, limits), kWriteReplyLength),
              ExchangeResult::Ok);

    const auto records = trafficRecorder().since(first);
    const auto frames = m_server.requests();
    ASSERT_EQ(records.size(), 7u);
    ASSERT_EQ(frames.size(), 7u) << "recording adds no request";
    const TrafficOutcome outcomes[] = {TrafficOutcome::WrongLength, TrafficOutcome::BadCrc,
                                       TrafficOutcome::Exception,   TrafficOutcome::WrongLength,
                                       TrafficOutcome::WrongLength, TrafficOutcome::Timeout,
                                       TrafficOutcome::Ok};
    constexpr size_t kLate = 5;
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i]->request, frames[i].bytes);
        EXPECT_EQ(records[i]->outcome, outcomes[i]);
        EXPECT_FALSE(frames[i].reply.empty());
        if (i == kLate) {
            EXPECT_TRUE(records[i]->reply.empty());
            EXPECT_GE(records[i]->onLine, std::chrono::milliseconds(200)) << "the wait given up";
        } else {
            EXPECT_EQ(records[i]->reply, frames[i].reply);
        }
        // The late reply is dropped before the next request, and recorded as dropped.
        EXPECT_EQ(records[i]->discarded, i == kLate + 1 ? frames[kLate].reply : Bytes{});
    }
}
