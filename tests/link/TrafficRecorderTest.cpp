// The traffic record alone: the ring of the last exchanges and how a reply is judged.
#include <gtest/gtest.h>

#include <numeric>

#include "ModbusCrc.h"
#include "TrafficRecorder.h"

namespace {

Bytes withCrc(Bytes frame) {
    const uint16_t crc = modbusCrc16(frame.data(), static_cast<int32_t>(frame.size()));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    return frame;
}

TrafficRecord numbered(uint32_t n) {
    TrafficRecord record;
    record.request = {static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    return record;
}

uint32_t numberOf(const TrafficRecord& record) {
    return static_cast<uint32_t>(record.request[0] << 8 | record.request[1]);
}

}  // namespace

TEST(TrafficRecorder, KeepsTheLastTenThousandAsARing) {
    TrafficRecorder recorder;
    constexpr uint32_t kAdded = TrafficRecorder::kCapacity + 5;
    for (uint32_t n = 0; n < kAdded; ++n) {
        recorder.add(numbered(n));
    }
    EXPECT_EQ(recorder.size(), TrafficRecorder::kCapacity);
    EXPECT_EQ(recorder.firstKept(), 5u);
    EXPECT_EQ(recorder.nextSequence(), kAdded);

    const auto all = recorder.since(0);
    ASSERT_EQ(all.size(), TrafficRecorder::kCapacity);
    for (size_t i = 0; i < all.size(); ++i) {
        ASSERT_EQ(all[i]->sequence, 5 + i);
        ASSERT_EQ(numberOf(*all[i]), 5 + i) << "each slot holds its own record";
    }
    const auto tail = recorder.since(kAdded - 2);
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_EQ(numberOf(*tail[0]), kAdded - 2);
    EXPECT_TRUE(recorder.since(kAdded).empty());

    // A reader keeps what it took even after the ring moved on or was cleared.
    const TrafficRecorder::Entry held = all.front();
    recorder.add(numbered(1));
    recorder.clear();
    EXPECT_EQ(numberOf(*held), 5u);
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_TRUE(recorder.since(0).empty());
    recorder.add(numbered(7));
    ASSERT_EQ(recorder.since(0).size(), 1u);
    EXPECT_EQ(recorder.since(0).front()->sequence, kAdded + 1) << "numbers go on after a clear";

    recorder.setEnabled(false);
    recorder.add(numbered(8));
    EXPECT_EQ(recorder.size(), 1u);
}

TEST(TrafficRecorder, LongExchangesPushOutMoreOfTheOldest) {
    TrafficRecorder recorder(4, 10);  // 40 bytes
    const auto run = [](uint8_t first, size_t count) {
        Bytes bytes(count);
        std::iota(bytes.begin(), bytes.end(), first);
        return bytes;
    };
    for (uint8_t n = 0; n < 3; ++n) {
        TrafficRecord record;
        record.request = run(20 * n, 5);
        record.reply = run(20 * n + 5, 10);
        recorder.add(record);
    }
    // 15 bytes each: the first made room for the third, which wraps round the ring's end.
    const auto kept = recorder.since(0);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0]->sequence, 1u);
    EXPECT_EQ(kept[1]->request, run(40, 5));
    EXPECT_EQ(kept[1]->reply, run(45, 10));

    TrafficRecord huge;
    huge.discarded = run(0, 30);
    huge.request = run(100, 8);
    huge.reply = run(200, 20);
    recorder.add(huge);
    const auto last = recorder.since(0);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0]->discarded, run(0, 30));
    EXPECT_EQ(last[0]->request, run(100, 8));
    EXPECT_EQ(last[0]->reply, run(200, 2)) << "what fits of a record larger than the ring";
}

TEST(TrafficRecorder, RepliesAreJudgedAsTheExchangeSawThem) {
    const Bytes good = withCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    Bytes badCrc = good;
    badCrc.back() ^= 0x01;
    const Bytes exception = withCrc({0x01, 0x83, 0x02});
    Bytes badException = exception;
    badException.back() ^= 0x01;
    Bytes longer = good;
    longer.push_back(0xA5);

    EXPECT_EQ(classifyReply(good, 7, true), TrafficOutcome::Ok);
    EXPECT_EQ(classifyReply({}, 7, false), TrafficOutcome::Timeout);
    EXPECT_EQ(classifyReply(good, 7, false), TrafficOutcome::Timeout) << "whole, but too late";
    EXPECT_EQ(classifyReply(badCrc, 7, false), TrafficOutcome::BadCrc);
    EXPECT_EQ(classifyReply(exception, 7, false), TrafficOutcome::Exception);
    EXPECT_EQ(classifyReply(badException, 7, false), TrafficOutcome::WrongLength);
    EXPECT_EQ(classifyReply(Bytes(good.begin(), good.end() - 1), 7, false),
              TrafficOutcome::WrongLength);
    EXPECT_EQ(classifyReply(longer, 7, false), TrafficOutcome::WrongLength);
}
