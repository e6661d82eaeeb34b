// The simulated device's request framer on any byte stream, cut into any chunks at any
// times: it neither loses nor invents bytes, never makes a frame longer than RTU allows,
// and flags exactly the frames that stopped short of the length their function implies.
#include <chrono>
#include <vector>

#include "FuzzCheck.h"
#include "RtuFramer.h"

namespace {

using Clock = RtuFramer::Clock;
using std::chrono::microseconds;

void checkFrame(const RtuFramer::Frame& frame) {
    const size_t size = frame.bytes.size();
    FUZZ_CHECK(size >= 1 && size <= RtuFramer::kMaxFrameLength);
    if (const auto length = requestFrameLength(frame.bytes)) {
        const size_t whole = std::min(*length, RtuFramer::kMaxFrameLength);
        FUZZ_CHECK(size <= whole);
        FUZZ_CHECK(frame.truncated == (size < whole));
    } else {
        // Unknown length: only the gap ends it, and it is short only if it cannot be a frame.
        const bool tooShort = size < 2 || frame.bytes[1] == 0x10;
        FUZZ_CHECK(frame.truncated == tooShort);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    const auto gap = microseconds(1000 + 1000 * in.byte());
    RtuFramer framer(gap);
    Clock::time_point now{};
    std::vector<uint8_t> sent;
    std::vector<uint8_t> framed;
    auto take = [&](RtuFramer::Frame frame) {
        checkFrame(frame);
        FUZZ_CHECK(frame.firstByte <= now);
        framed.insert(framed.end(), frame.bytes.begin(), frame.bytes.end());
    };
    while (!in.empty()) {
        const uint8_t op = in.byte();
        if ((op & 0x80) != 0) {
            now += microseconds(200 * (op & 0x7F));  // time passes, perhaps beyond the gap
            if (auto frame = framer.expire(now)) {
                take(std::move(*frame));
            }
            if (const auto deadline = framer.idleDeadline()) {
                FUZZ_CHECK(*deadline > now);  // an expired frame is gone
            }
        } else {
            const auto chunk = in.bytes(op + 1u);
            sent.insert(sent.end(), chunk.begin(), chunk.end());
            for (auto& frame : framer.push(chunk, now)) {
                take(std::move(frame));
            }
        }
    }
    now += gap * 2;
    if (auto frame = framer.expire(now)) {
        take(std::move(*frame));
    }
    FUZZ_CHECK(!framer.idleDeadline().has_value());
    FUZZ_CHECK(framed == sent);
    return 0;
}
