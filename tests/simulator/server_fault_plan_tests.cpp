// How each injected fault changes a reply, and how pending faults are used up.
#include <gtest/gtest.h>

#include <map>

#include "FaultPlan.h"
#include "ModbusFrame.h"

namespace {

const Bytes kReply = frameRequest(1, Bytes{0x03, 0x02, 0x01, 0x2C});  // 7 bytes

ShapedReply shape(FaultKind kind, int parameter = -1) {
    return shapeReply(Fault{kind, parameter}, 1, 0x03, kReply);
}

TEST(FaultPlanTest, FaultsAreUsedUpInOrderEachForItsCount) {
    FaultPlan plan;
    plan.add(FaultKind::Short, 2, -1);
    plan.add(FaultKind::Late, 1, 300);
    plan.add(FaultKind::Silent, 0, -1);  // a count of none adds nothing
    std::vector<FaultKind> kinds;
    while (auto fault = plan.takeNext()) {
        kinds.push_back(fault->kind);
    }
    EXPECT_EQ(kinds, (std::vector{FaultKind::Short, FaultKind::Short, FaultKind::Late}));
    EXPECT_TRUE(plan.empty());

    // Replies passed unchanged come first; the fault added after them waits.
    plan.pass(2);
    plan.add(FaultKind::Exception, 1, -1);
    EXPECT_EQ(plan.takeNext(), std::nullopt);
    EXPECT_EQ(plan.takeNext(), std::nullopt);
    EXPECT_EQ(plan.takeNext()->kind, FaultKind::Exception);
    EXPECT_TRUE(plan.empty());

    plan.add(FaultKind::BadCrc, 5, -1);
    plan.clear();
    EXPECT_EQ(plan.takeNext(), std::nullopt);
}

TEST(FaultPlanTest, LengthFaultsChangeTheLengthByTheirParameter) {
    EXPECT_EQ(shape(FaultKind::Short).bytes, Bytes(kReply.begin(), kReply.end() - 1));
    EXPECT_EQ(shape(FaultKind::Short, 3).bytes.size(), 4u);
    EXPECT_TRUE(shape(FaultKind::Short, 50).bytes.empty()) << "never more than the reply";
    const Bytes longer = shape(FaultKind::Long).bytes;
    ASSERT_EQ(longer.size(), kReply.size() + 2);
    EXPECT_EQ(Bytes(longer.begin(), longer.begin() + 7), kReply);

    const Bytes garbage = shape(FaultKind::Garbage).bytes;
    ASSERT_EQ(garbage.size(), kReply.size() + 3);
    EXPECT_EQ(Bytes(garbage.begin() + 3, garbage.end()), kReply);
    EXPECT_NE(garbage[0], 0x01) << "junk must not look like this device's reply";
    EXPECT_EQ(shape(FaultKind::Garbage, 10).bytes.size(), kReply.size() + 10);
}

TEST(FaultPlanTest, ContentFaultsSpoilTheCrcOrReplaceTheReply) {
    const Bytes badCrc = shape(FaultKind::BadCrc).bytes;
    EXPECT_EQ(badCrc.size(), kReply.size());
    EXPECT_FALSE(frameCrcOk(badCrc));
    EXPECT_TRUE(std::equal(kReply.begin(), kReply.end() - 2, badCrc.begin()));

    const Bytes exception = shapeReply(Fault{FaultKind::Exception, -1}, 7, 0x10, kReply).bytes;
    ASSERT_EQ(exception.size(), 5u);
    EXPECT_EQ(exception[0], 7);
    EXPECT_EQ(exception[1], 0x90);
    EXPECT_EQ(exception[2], 0x04);
    EXPECT_TRUE(frameCrcOk(exception));

    EXPECT_TRUE(shape(FaultKind::Silent).bytes.empty());
}

TEST(FaultPlanTest, ALateReplyIsWholeAndDelayedByItsParameterOrTwoAndAHalfSeconds) {
    EXPECT_EQ(shape(FaultKind::Late).bytes, kReply);
    EXPECT_EQ(shape(FaultKind::Late).delay, std::chrono::milliseconds(2500));
    EXPECT_EQ(shape(FaultKind::Late, 0).delay, std::chrono::milliseconds(0));
    EXPECT_EQ(shape(FaultKind::Late, 1200).delay, std::chrono::milliseconds(1200));
    EXPECT_EQ(shape(FaultKind::Short).delay, std::chrono::milliseconds(0));
}

TEST(FaultPlanTest, OnlySilenceAndExceptionsLeaveTheRequestUndone) {
    EXPECT_FALSE(faultExecutesRequest(Fault{FaultKind::Silent, -1}));
    EXPECT_FALSE(faultExecutesRequest(Fault{FaultKind::Exception, -1}));
    for (auto kind : {FaultKind::Short, FaultKind::Long, FaultKind::BadCrc, FaultKind::Late,
                      FaultKind::Garbage}) {
        EXPECT_TRUE(faultExecutesRequest(Fault{kind, -1}));
    }
}

TEST(RandomFaultsTest, DrawTheirShareOfOnlyTheKindsThatFailOneExchange) {
    RandomFaults none(0, 1);
    RandomFaults all(100, 1);
    RandomFaults quarter(25, 42);
    std::map<FaultKind, int> kinds;
    int drawn = 0;
    for (int i = 0; i < 20000; ++i) {
        EXPECT_FALSE(none.draw().has_value());
        ASSERT_TRUE(all.draw().has_value());
        if (const auto fault = quarter.draw()) {
            ++drawn;
            ++kinds[fault->kind];
            EXPECT_LT(fault->parameter, 0);  // the kind's default
        }
    }
    EXPECT_NEAR(drawn, 5000, 400);
    EXPECT_EQ(kinds.size(), 5u);
    EXPECT_EQ(kinds.count(FaultKind::Late), 0u);
    EXPECT_EQ(kinds.count(FaultKind::Long), 0u);
    EXPECT_FALSE(RandomFaults(-5, 1).draw().has_value());  // clamped, not wrapped
    EXPECT_TRUE(RandomFaults(500, 1).draw().has_value());
}

TEST(RandomFaultsTest, TheSameSeedRepeatsTheRun) {
    RandomFaults first(50, 9);
    RandomFaults second(50, 9);
    for (int i = 0; i < 1000; ++i) {
        const auto a = first.draw();
        const auto b = second.draw();
        ASSERT_EQ(a.has_value(), b.has_value());
        if (a) {
            ASSERT_EQ(a->kind, b->kind);
        }
    }
}

}  // namespace
