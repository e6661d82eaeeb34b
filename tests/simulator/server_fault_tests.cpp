// Injected faults as the program's exchange sees them: each fails the reply checks for as
// many replies as asked, then the device answers cleanly again.
#include <gtest/gtest.h>

#include <thread>

#include "ServerTestSupport.h"

using namespace servertest;

namespace {

struct FaultCase {
    FaultKind kind;
    bool requestCarriedOut;  // whether the device acted on a write whose reply was spoilt
    const char* name;
};

class InjectedFaultTest : public DeviceLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(InjectedFaultTest, FailsForItsCountThenTheDeviceAnswersAgain) {
    ASSERT_TRUE(open());
    m_server.injectFault(GetParam().kind, 2);
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    EXPECT_EQ(readLive(), ExchangeResult::Failed);
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);
    EXPECT_EQ(readLive(), ExchangeResult::Ok);
}

TEST_P(InjectedFaultTest, AWriteWithASpoiltReplyFailsAndIsCarriedOutOnlyIfTheDeviceGotIt) {
    ASSERT_TRUE(open());
    m_server.injectFault(GetParam().kind);
    EXPECT_EQ(run(writeSingleRequest(kIrInterval, 72), kWriteReplyLength), ExchangeResult::Failed);
    EXPECT_EQ(m_server.registerValue(kIrInterval) == 72, GetParam().requestCarriedOut);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, InjectedFaultTest,
                         ::testing::Values(FaultCase{FaultKind::Silent, false, "Silent"},
                                           FaultCase{FaultKind::Short, true, "Short"},
                                           FaultCase{FaultKind::Long, true, "Long"},
                                           FaultCase{FaultKind::BadCrc, true, "BadCrc"},
                                           FaultCase{FaultKind::Exception, false, "Exception"},
                                           FaultCase{FaultKind::Garbage, true, "Garbage"}),
                         [](const auto& param) { return std::string(param.param.name); });

class RandomFaultTest : public DeviceLinkTest {
  protected:
    RandomFaultTest() : DeviceLinkTest(DeviceServer::Options{1, 0, 50, 77}) {}
};

TEST_F(RandomFaultTest, EachRandomFaultFailsExactlyTheExchangeItHits) {
    ASSERT_TRUE(open());
    int failed = 0;
    constexpr int kExchanges = 40;
    for (int i = 0; i < kExchanges; ++i) {
        Bytes reply;
        // A short time-out: a silent reply costs little, and a late one would not fit in it.
        failed += ModbusExchange::exchange(readHoldingRequest(0x0050, 1), 7, 50, reply) ==
                  ExchangeResult::Failed;
    }
    const ServerCounters counters = m_server.counters();
    EXPECT_EQ(counters.answered, static_cast<uint64_t>(kExchanges));
    EXPECT_EQ(counters.faultsInjected, static_cast<uint64_t>(failed));
    EXPECT_GT(failed, 0);
    EXPECT_LT(failed, kExchanges);

    // Queued faults and passes take precedence over random ones.
    m_server.passReplies(5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(readCurrent(), ExchangeResult::Ok);
    }
    EXPECT_EQ(m_server.counters().faultsInjected, counters.faultsInjected);
}

class FaultQueueTest : public DeviceLinkTest {};

TEST_F(FaultQueueTest, FaultsQueueInOrderAndClearingThemRestoresCleanReplies) {
    ASSERT_TRUE(open());
    m_server.injectFault(FaultKind::BadCrc, 1);
    m_server.injectFault(FaultKind::Short, 1);
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);

    m_server.injectFault(FaultKind::Silent, 100);
    m_server.clearFaults();
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);
}

TEST_F(FaultQueueTest, FramesForOtherAddressesDoNotUseUpAFault) {
    ASSERT_TRUE(open());
    m_server.injectFault(FaultKind::Exception, 1);
    LinkSettings::deviceAddress = 9;
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    LinkSettings::deviceAddress = 1;
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    EXPECT_EQ(readCurrent(), ExchangeResult::Ok);
}

class LateReplyTest : public DeviceLinkTest {};

TEST_F(LateReplyTest, ALateReplyFailsItsExchangeLandsInTheQueueAndTheNextExchangeSucceeds) {
    ASSERT_TRUE(open());
    m_server.injectFault(FaultKind::Late, 1, 1400);
    const auto start = Clock::now();
    EXPECT_EQ(readCurrent(), ExchangeResult::Failed);
    EXPECT_GE(Clock::now() - start, milliseconds(900)) << "the exchange waited its time-out";

    EXPECT_EQ(waitForQueue(7, std::chrono::seconds(5)), 7u) << "the late reply arrived whole";
    Bytes reply;
    EXPECT_EQ(run(readHoldingRequest(kIrInterval, 1), 7, reply), ExchangeResult::Ok);
    EXPECT_EQ(replyRegister(reply, 0), m_server.registerValue(kIrInterval))
        << "the reply read is the fresh one, not the late one";
}

// The device goes on answering while a late reply waits; only the late exchange fails.
TEST_F(LateReplyTest, DuringAQuickSeriesOfExchangesOnlyTheLateOneFails) {
    ASSERT_TRUE(open());
    m_server.injectFault(FaultKind::Late);  // 2500 ms by default
    m_server.clearRequests();
    int failures = readCurrent() == ExchangeResult::Failed ? 1 : 0;
    const auto log = m_server.requests();
    ASSERT_EQ(log.size(), 1u);
    const auto lands = log.front().time + milliseconds(2500);

    int exchanges = 1;
    bool landedInQueue = false;
    while (Clock::now() < lands + milliseconds(500)) {
        // Stay clear of the moment the late bytes land, so they fall between exchanges.
        if (Clock::now() > lands - milliseconds(150) && !landedInQueue) {
            landedInQueue = waitForQueue(7, std::chrono::seconds(3)) == 7;
            ASSERT_TRUE(landedInQueue);
        }
        failures += readCurrent() == ExchangeResult::Failed ? 1 : 0;
        ++exchanges;
        std::this_thread::sleep_for(milliseconds(20));
    }
    EXPECT_EQ(failures, 1) << "of " << exchanges << " exchanges";
    EXPECT_GT(exchanges, 20);
}

}  // namespace
