// Cuts the byte stream a Modbus RTU slave receives into request frames: by the length
// each function code implies, or at an idle gap. Pure logic: the caller supplies the time.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The length of the request frame that starts with `head`, once it can be told: 8 for
// functions 03, 04 and 06, 9 + byte count for 0x10. None while too few bytes are known
// and for any other function, whose frames end only at an idle gap.
std::optional<size_t> requestFrameLength(std::span<const uint8_t> head);

class RtuFramer {
  public:
    using Clock = std::chrono::steady_clock;

    // No RTU frame is longer; a longer run of bytes without a gap is cut here.
    static constexpr size_t kMaxFrameLength = 256;

    struct Frame {
        std::vector<uint8_t> bytes;
        Clock::time_point firstByte;
        bool truncated = false;  // the gap came before the length its function implies
    };

    explicit RtuFramer(Clock::duration idleGap);

    void setIdleGap(Clock::duration idleGap);

    // Appends bytes received at `now`; returns the frames they complete, in order.
    std::vector<Frame> push(std::span<const uint8_t> bytes, Clock::time_point now);

    // Ends the pending frame once the line has been idle for the gap; none otherwise.
    std::optional<Frame> expire(Clock::time_point now);

    // When the pending frame will expire; none when nothing is pending.
    std::optional<Clock::time_point> idleDeadline() const;

  private:
    Frame take(bool truncated);

    Clock::duration m_idleGap;
    std::vector<uint8_t> m_pending;
    Clock::time_point m_firstByte{};
    Clock::time_point m_lastByte{};
};
