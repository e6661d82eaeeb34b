// Request framing for the simulated device's RTU line.
#include "RtuFramer.h"

#include <utility>

std::optional<size_t> requestFrameLength(std::span<const uint8_t> head) {
    if (head.size() < 2) {
        return std::nullopt;
    }
    switch (head[1]) {
        case 0x03:
        case 0x04:
        case 0x06:
            return 8;
        case 0x10:
            if (head.size() < 7) {
                return std::nullopt;
            }
            return 9 + size_t{head[6]};
        default:
            return std::nullopt;
    }
}

RtuFramer::RtuFramer(Clock::duration idleGap) : m_idleGap(idleGap) {}

void RtuFramer::setIdleGap(Clock::duration idleGap) {
    m_idleGap = idleGap;
}

std::vector<RtuFramer::Frame> RtuFramer::push(std::span<const uint8_t> bytes,
                                              Clock::time_point now) {
    std::vector<Frame> frames;
    // Bytes that follow a long silence start a new frame even if the old one is short.
    if (auto stale = expire(now)) {
        frames.push_back(std::move(*stale));
    }
    for (uint8_t byte : bytes) {
        if (m_pending.empty()) {
            m_firstByte = now;
        }
        m_pending.push_back(byte);
        const auto length = requestFrameLength(m_pending);
        if ((length && m_pending.size() >= *length) || m_pending.size() >= kMaxFrameLength) {
            frames.push_back(take(false));
        }
    }
    if (!m_pending.empty()) {
        m_lastByte = now;
    }
    return frames;
}

std::optional<RtuFramer::Frame> RtuFramer::expire(Clock::time_point now) {
    if (m_pending.empty() || now - m_lastByte < m_idleGap) {
        return std::nullopt;
    }
    // A frame whose function fixes its length and that stopped short is a fragment; one
    // whose length is unknown ends here, complete as far as anyone can tell.
    return take(requestFrameLength(m_pending).has_value() || m_pending.size() < 2 ||
                m_pending[1] == 0x10);
}

std::optional<RtuFramer::Clock::time_point> RtuFramer::idleDeadline() const {
    if (m_pending.empty()) {
        return std::nullopt;
    }
    return m_lastByte + m_idleGap;
}

RtuFramer::Frame RtuFramer::take(bool truncated) {
    Frame frame{std::move(m_pending), m_firstByte, truncated};
    m_pending.clear();
    return frame;
}
