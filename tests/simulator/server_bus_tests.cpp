// Several simulated devices on one pseudo-terminal, as on an RS-485 bus: each answers only
// its own address, with its own registers, and a silenced one leaves the others answering.
#include "ServerTestSupport.h"

namespace {

using namespace servertest;

DeviceServer::Options busOf(std::vector<int> others) {
    DeviceServer::Options options;
    options.address = 1;
    options.busAddresses = std::move(others);
    return options;
}

class BusTest : public DeviceLinkTest {
  protected:
    BusTest() : DeviceLinkTest(busOf({3, 2, 3, 1})) {}

    ExchangeResult currentAt(int address) {
        LinkSettings::deviceAddress = address;
        Bytes reply;
        return command(readHoldingRequest(0x0050, 1), readReplyLength(1), reply);
    }
};

TEST_F(BusTest, EachAddressAnswersWithItsOwnModelAndNoOtherAnswers) {
    EXPECT_EQ(m_server.addresses(), (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(m_server.withModelAt(2, [](DeviceModel& m) { m.setRegister(0x0050, 123); }));
    EXPECT_FALSE(m_server.withModelAt(4, [](DeviceModel&) {}));

    LinkSettings::deviceAddress = 2;
    Bytes reply;
    ASSERT_EQ(command(readHoldingRequest(0x0050, 1), readReplyLength(1), reply),
              ExchangeResult::Ok);
    EXPECT_EQ(reply[0], 2);
    EXPECT_EQ((reply[3] << 8) | reply[4], 123);
    EXPECT_EQ(currentAt(1), ExchangeResult::Ok);
    EXPECT_EQ(currentAt(3), ExchangeResult::Ok);
    EXPECT_EQ(currentAt(4), ExchangeResult::Failed);
    EXPECT_EQ(m_server.counters().answered, 3u);  // address 4 is nobody's
}

TEST_F(BusTest, ASilencedDeviceStopsAnsweringUntilItIsHeardAgain) {
    m_server.silence(2);
    m_server.silence(9);  // no such device: nothing happens
    EXPECT_TRUE(m_server.silenced(2));
    EXPECT_FALSE(m_server.silenced(9));
    EXPECT_EQ(currentAt(2), ExchangeResult::Failed);
    EXPECT_EQ(currentAt(1), ExchangeResult::Ok);
    EXPECT_EQ(currentAt(3), ExchangeResult::Ok);
    m_server.silence(2, false);
    EXPECT_EQ(currentAt(2), ExchangeResult::Ok);
}

}  // namespace
