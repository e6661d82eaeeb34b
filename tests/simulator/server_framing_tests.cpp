// Request framing and reply byte timing of the simulated device's line, with a fake clock.
#include <gtest/gtest.h>

#include "LineSchedule.h"
#include "ModbusFrame.h"
#include "RtuFramer.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

const Clock::time_point t0{};

TEST(RequestFrameLength, FollowsTheFunctionCodeAndTheWriteByteCount) {
    const uint8_t read[] = {1, 0x03};
    const uint8_t input[] = {1, 0x04};
    const uint8_t single[] = {1, 0x06};
    const uint8_t multipleHead[] = {1, 0x10, 0x10, 0x0E, 0x00, 0x02};
    const uint8_t multiple[] = {1, 0x10, 0x10, 0x0E, 0x00, 0x02, 0x04};
    const uint8_t unknown[] = {1, 0x2B, 0x0E, 0x01, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(requestFrameLength(std::span<const uint8_t>(read, 1)), std::nullopt);
    EXPECT_EQ(requestFrameLength(read), 8u);
    EXPECT_EQ(requestFrameLength(input), 8u);
    EXPECT_EQ(requestFrameLength(single), 8u);
    EXPECT_EQ(requestFrameLength(multipleHead), std::nullopt);
    EXPECT_EQ(requestFrameLength(multiple), 13u);
    EXPECT_EQ(requestFrameLength(unknown), std::nullopt);
}

class FramerTest : public ::testing::Test {
  protected:
    RtuFramer framer{milliseconds(50)};
};

TEST_F(FramerTest, AFrameSplitOverSeveralReadsCompletesAtItsLength) {
    const Bytes frame = frameRequest(1, readHoldingRequest(0x0000, 121));
    EXPECT_TRUE(framer.push(std::span(frame).first(3), t0).empty());
    EXPECT_TRUE(framer.push(std::span(frame).subspan(3, 4), t0 + milliseconds(2)).empty());
    const auto frames = framer.push(std::span(frame).last(1), t0 + milliseconds(4));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, frame);
    EXPECT_EQ(frames[0].firstByte, t0);
    EXPECT_FALSE(frames[0].truncated);
    EXPECT_EQ(framer.idleDeadline(), std::nullopt);
}

TEST_F(FramerTest, BackToBackFramesInOneReadAreSeparatedByTheirLengths) {
    const uint8_t values[] = {0x12, 0x34, 0x56, 0x78};
    Bytes stream = frameRequest(1, writeMultipleRequest(0x100E, values));
    const Bytes second = frameRequest(1, writeSingleRequest(0x1000, 5));
    stream.insert(stream.end(), second.begin(), second.end());
    const auto frames = framer.push(stream, t0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes.size(), 13u);
    EXPECT_EQ(frames[1].bytes, second);
}

TEST_F(FramerTest, AFragmentExpiresAtTheGapAsTruncatedAndTheNextFrameStartsClean) {
    const Bytes frame = frameRequest(1, readHoldingRequest(0x0050, 1));
    framer.push(std::span(frame).first(5), t0);
    EXPECT_EQ(framer.idleDeadline(), t0 + milliseconds(50));
    EXPECT_EQ(framer.expire(t0 + milliseconds(49)), std::nullopt);
    const auto stale = framer.expire(t0 + milliseconds(50));
    ASSERT_TRUE(stale.has_value());
    EXPECT_TRUE(stale->truncated);
    EXPECT_EQ(stale->bytes.size(), 5u);

    const auto frames = framer.push(frame, t0 + milliseconds(60));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes, frame);
}

TEST_F(FramerTest, BytesAfterALongSilenceDoNotJoinAStaleFragment) {
    const Bytes frame = frameRequest(1, readHoldingRequest(0x0050, 1));
    framer.push(std::span(frame).first(3), t0);
    // No expire() call in between: the late bytes still must not complete the old frame.
    const auto frames = framer.push(frame, t0 + milliseconds(200));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].truncated);
    EXPECT_EQ(frames[1].bytes, frame);
    EXPECT_EQ(frames[1].firstByte, t0 + milliseconds(200));
}

TEST_F(FramerTest, AnUnknownFunctionEndsOnlyAtTheGapAndIsNotTruncated) {
    const Bytes frame = frameRequest(1, Bytes{0x2B, 0x0E, 0x01, 0x00});
    EXPECT_TRUE(framer.push(frame, t0).empty());
    const auto ended = framer.expire(t0 + milliseconds(50));
    ASSERT_TRUE(ended.has_value());
    EXPECT_FALSE(ended->truncated);
    EXPECT_EQ(ended->bytes, frame);
}

TEST_F(FramerTest, AWriteCutBeforeItsByteCountIsTruncatedAndEndlessNoiseIsCut) {
    framer.push(Bytes{1, 0x10, 0x10, 0x0E}, t0);
    const auto cut = framer.expire(t0 + milliseconds(60));
    ASSERT_TRUE(cut.has_value());
    EXPECT_TRUE(cut->truncated);

    const Bytes noise(600, 0xFF);  // function 0xFF: length unknown, no gap
    const auto frames = framer.push(noise, t0 + milliseconds(100));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes.size(), RtuFramer::kMaxFrameLength);
    EXPECT_EQ(framer.idleDeadline(), t0 + milliseconds(150));
}

TEST(LineScheduleTest, UnpacedTransmissionsLeaveWholeOnceDue) {
    LineSchedule line;
    line.enqueue({1, 2, 3}, t0 + milliseconds(10));
    EXPECT_EQ(line.nextDue(), t0 + milliseconds(10));
    EXPECT_TRUE(line.takeDue(t0 + milliseconds(9)).empty());
    EXPECT_EQ(line.takeDue(t0 + milliseconds(10)), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(line.idle());
    EXPECT_EQ(line.nextDue(), std::nullopt);
}

TEST(LineScheduleTest, PacedBytesFallDueOneByteTimeApartOnAnAbsoluteSchedule) {
    LineSchedule line;
    line.setByteTime(milliseconds(1));
    line.enqueue({1, 2, 3, 4}, t0);
    EXPECT_EQ(line.nextDue(), t0 + milliseconds(1));
    EXPECT_TRUE(line.takeDue(t0 + microseconds(999)).empty());
    EXPECT_EQ(line.takeDue(t0 + milliseconds(1)), (std::vector<uint8_t>{1}));
    // A wake-up that comes late catches up rather than shifting the rest.
    EXPECT_EQ(line.takeDue(t0 + microseconds(3500)), (std::vector<uint8_t>{2, 3}));
    EXPECT_EQ(line.nextDue(), t0 + milliseconds(4));
    EXPECT_EQ(line.takeDue(t0 + milliseconds(4)), (std::vector<uint8_t>{4}));
    EXPECT_TRUE(line.idle());
}

TEST(LineScheduleTest, ATransmissionDueDuringAnotherWaitsForTheLineAndNeverInterleaves) {
    LineSchedule line;
    line.setByteTime(milliseconds(1));
    line.enqueue({9, 9}, t0 + milliseconds(2));  // due while the first is on the line
    line.enqueue({1, 2, 3, 4, 5}, t0);
    std::vector<uint8_t> sent;
    for (int ms = 0; ms <= 20; ++ms) {
        const auto due = line.takeDue(t0 + milliseconds(ms));
        sent.insert(sent.end(), due.begin(), due.end());
        if (ms == 5) {
            EXPECT_EQ(sent.size(), 5u) << "the second has not started by the end of the first";
        }
        if (ms == 6) {
            EXPECT_EQ(sent.size(), 6u) << "and then it takes its own time";
        }
    }
    EXPECT_EQ(sent, (std::vector<uint8_t>{1, 2, 3, 4, 5, 9, 9}));
}

TEST(LineScheduleTest, TransmissionsGoOutInOrderOfReadinessNotOfQueueing) {
    LineSchedule line;
    line.enqueue({7}, t0 + milliseconds(2500));  // a late reply, scheduled first
    line.enqueue({1}, t0 + milliseconds(10));
    line.enqueue({2}, t0 + milliseconds(10));
    EXPECT_EQ(line.takeDue(t0 + milliseconds(100)), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(line.nextDue(), t0 + milliseconds(2500));
    EXPECT_EQ(line.takeDue(t0 + milliseconds(3000)), (std::vector<uint8_t>{7}));
}

}  // namespace
