// Reply byte timing for the simulated device's line.
#include "LineSchedule.h"

#include <algorithm>
#include <utility>

LineSchedule::Clock::duration LineSchedule::byteTime(int baud) {
    if (baud <= 0) {
        return Clock::duration::zero();
    }
    using std::chrono::nanoseconds;
    return std::chrono::duration_cast<Clock::duration>(nanoseconds(10'000'000'000LL / baud));
}

void LineSchedule::setByteTime(Clock::duration byteTime) {
    m_byteTime = byteTime;
}

void LineSchedule::enqueue(std::vector<uint8_t> bytes, Clock::time_point earliest) {
    if (bytes.empty()) {
        return;
    }
    // Stable: a transmission ready at the same moment as a queued one goes after it.
    auto at = std::upper_bound(
        m_waiting.begin(), m_waiting.end(), earliest,
        [](Clock::time_point t, const Transmission& queued) { return t < queued.earliest; });
    m_waiting.insert(at, Transmission{std::move(bytes), earliest});
}

std::vector<uint8_t> LineSchedule::takeDue(Clock::time_point now) {
    std::vector<uint8_t> due;
    while (m_active || startNext(now)) {
        const auto& bytes = m_active->bytes;
        while (m_sent < bytes.size() && dueOf(m_sent) <= now) {
            due.push_back(bytes[m_sent++]);
        }
        if (m_sent < bytes.size()) {
            break;
        }
        m_lineFree = dueOf(bytes.size() - 1);
        m_active.reset();
    }
    return due;
}

std::optional<LineSchedule::Clock::time_point> LineSchedule::nextDue() const {
    if (m_active) {
        return dueOf(m_sent);
    }
    if (m_waiting.empty()) {
        return std::nullopt;
    }
    return std::max(m_waiting.front().earliest, m_lineFree) + m_byteTime;
}

bool LineSchedule::idle() const {
    return !m_active && m_waiting.empty();
}

void LineSchedule::clear() {
    m_waiting.clear();
    m_active.reset();
    m_sent = 0;
}

bool LineSchedule::startNext(Clock::time_point now) {
    if (m_waiting.empty() || m_waiting.front().earliest > now) {
        return false;
    }
    // Start times are fixed on the line, not by when the caller got round to asking, so a
    // late wake-up sends the overdue bytes at once and the schedule does not drift.
    m_activeStart = std::max(m_waiting.front().earliest, m_lineFree);
    m_active = std::move(m_waiting.front());
    m_waiting.pop_front();
    m_sent = 0;
    return true;
}

// A byte has arrived once all its bits have: one byte time after the previous one.
LineSchedule::Clock::time_point LineSchedule::dueOf(size_t index) const {
    return m_activeStart + m_byteTime * static_cast<long>(index + 1);
}
