// When each reply byte leaves the simulated device: replies queue on one line and, when
// paced, every byte takes its time on the wire. Pure logic: the caller supplies the time.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class LineSchedule {
  public:
    using Clock = std::chrono::steady_clock;

    // The time one byte takes at `baud` (start, 8 data and stop bits); zero when `baud` <= 0.
    static Clock::duration byteTime(int baud);

    // Zero sends every byte of a transmission as soon as it starts.
    void setByteTime(Clock::duration byteTime);
    Clock::duration byteTime() const { return m_byteTime; }

    // Queues a transmission that may start at `earliest`. It starts then or when the line
    // is free, whichever is later; transmissions never overlap or interleave.
    void enqueue(std::vector<uint8_t> bytes, Clock::time_point earliest);

    // Removes and returns, in line order, every byte whose time has come by `now`.
    std::vector<uint8_t> takeDue(Clock::time_point now);

    // When the next byte falls due; none when nothing is queued.
    std::optional<Clock::time_point> nextDue() const;

    bool idle() const;
    void clear();

  private:
    struct Transmission {
        std::vector<uint8_t> bytes;
        Clock::time_point earliest;
    };

    bool startNext(Clock::time_point now);
    Clock::time_point dueOf(size_t index) const;

    Clock::duration m_byteTime{};
    std::deque<Transmission> m_waiting;  // ordered by earliest start
    std::optional<Transmission> m_active;
    Clock::time_point m_activeStart{};
    size_t m_sent = 0;
    Clock::time_point m_lineFree{};
};
