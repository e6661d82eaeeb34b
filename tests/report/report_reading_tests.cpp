// The report's reads against the simulated device over a real pseudo-terminal: the records
// stopped by the technician or cut short by the device keep what came and say why, and a
// silent device is not asked again and again.
#include <gtest/gtest.h>

#include "RegisterLink.h"
#include "ReportReading.h"
#include "ServerTestSupport.h"

using namespace servertest;

namespace {

class ReportReading : public DeviceLinkTest {
  protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        m_server.seedResistanceRecords(5);
        ASSERT_TRUE(port.open()) << portOpenErrorDetails(lastPortOpenError());
    }
    LinkPort port;
    report::ReportInput input;
};

}  // namespace

TEST_F(ReportReading, EveryPartIsReadAndTheRecordsHaveTheirTimes) {
    std::vector<std::string> steps;
    report::ReadHooks hooks;
    hooks.step = [&](const std::string& what) { steps.push_back(what); };
    report::readReportParts(port, true, input, hooks);
    EXPECT_EQ(steps, (std::vector<std::string>{"设备身份", "实时数据", "报警阀值", "报警通道配置",
                                               "内阻记录"}));
    EXPECT_TRUE(input.identity.value && input.live.value && input.limits.value &&
                input.masks.value);
    ASSERT_TRUE(input.records.value.has_value());
    EXPECT_EQ(input.records.value->size(), 5u);
    EXPECT_EQ(input.records.failure, "");
    EXPECT_EQ(input.recordsWithoutTime, 0);
}

TEST_F(ReportReading, StoppedRecordsKeepWhatCame) {
    int read = 0;
    report::ReadHooks hooks;
    hooks.recordProgress = [&](int n, int) { read = n; };
    hooks.stopRequested = [&] { return read >= 2; };
    report::readReportParts(port, true, input, hooks);
    ASSERT_TRUE(input.records.value.has_value());
    EXPECT_EQ(input.records.value->size(), 2u);
    EXPECT_EQ(input.records.failure, "读取已取消，只用了前 2 条（共 5 条）");
}

TEST_F(ReportReading, ARecordThatDoesNotComeEndsTheReadWithTheReason) {
    // Identity, live block, four limits, three masks, the count, the window: then 2 records.
    m_server.passReplies(1 + 1 + 4 + 3 + 1 + 1 + 2);
    m_server.injectFault(FaultKind::Silent);
    report::readReportParts(port, true, input);
    EXPECT_TRUE(input.masks.value.has_value());
    ASSERT_TRUE(input.records.value.has_value());
    EXPECT_EQ(input.records.value->size(), 2u);
    EXPECT_EQ(input.records.failure, "第 3 条记录没有读到，只用了前 2 条（共 5 条）");
}

TEST_F(ReportReading, ASilentDeviceIsNotAskedForTheRest) {
    LinkSettings::deviceAddress = 9;
    report::readReportParts(port, true, input);
    EXPECT_EQ(input.identity.failure, "设备没有应答");
    EXPECT_EQ(input.live.failure, "设备没有应答");
    for (const std::string* failure :
         {&input.limits.failure, &input.masks.failure, &input.records.failure}) {
        EXPECT_EQ(*failure, "设备没有应答，未再尝试");
    }
    EXPECT_FALSE(input.records.value.has_value());
    EXPECT_EQ(m_server.requests().size(), 2u);
}
