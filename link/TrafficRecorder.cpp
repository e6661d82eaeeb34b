// The ring of recorded exchanges and how a reply's bytes are judged.
#include "TrafficRecorder.h"

#include <algorithm>
#include <utility>

namespace {

constexpr size_t kExceptionReplyLength = 5;
constexpr uint8_t kExceptionFlag = 0x80;

bool isExceptionReply(std::span<const uint8_t> reply) {
    return reply.size() == kExceptionReplyLength && (reply[1] & kExceptionFlag) != 0 &&
           frameCrcOk(reply);
}

}  // namespace

TrafficOutcome classifyReply(std::span<const uint8_t> reply, size_t expected, bool accepted) {
    if (accepted) {
        return TrafficOutcome::Ok;
    }
    if (reply.empty()) {
        return TrafficOutcome::Timeout;
    }
    if (isExceptionReply(reply)) {
        return TrafficOutcome::Exception;
    }
    if (reply.size() != expected) {
        return TrafficOutcome::WrongLength;
    }
    // A sound frame the exchange still refused was complete only after its wait ran out.
    return frameCrcOk(reply) ? TrafficOutcome::Timeout : TrafficOutcome::BadCrc;
}

// Both vectors are zero-filled, so their pages are resident from the start.
TrafficRecorder::TrafficRecorder(size_t capacity, size_t bytesPerExchange)
    : m_slots(std::max<size_t>(capacity, 1)),
      m_bytes(std::max<size_t>(capacity, 1) * std::max<size_t>(bytesPerExchange, 1)) {}

void TrafficRecorder::dropOldest() {
    ++m_first;
    m_bytesFirst = m_first < m_next ? m_slots[m_first % m_slots.size()].at : m_bytesNext;
}

// The bytes go in at most two pieces: up to the ring's end, then from its start.
void TrafficRecorder::put(std::span<const uint8_t> bytes) {
    const size_t at = static_cast<size_t>(m_bytesNext % m_bytes.size());
    const size_t first = std::min(bytes.size(), m_bytes.size() - at);
    std::copy_n(bytes.begin(), first, m_bytes.begin() + static_cast<std::ptrdiff_t>(at));
    std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(first), bytes.end(), m_bytes.begin());
    m_bytesNext += bytes.size();
}

Bytes TrafficRecorder::copyOut(uint64_t position, size_t size) const {
    const size_t at = static_cast<size_t>(position % m_bytes.size());
    const size_t first = std::min(size, m_bytes.size() - at);
    Bytes bytes(m_bytes.begin() + static_cast<std::ptrdiff_t>(at),
                m_bytes.begin() + static_cast<std::ptrdiff_t>(at + first));
    bytes.insert(bytes.end(), m_bytes.begin(),
                 m_bytes.begin() + static_cast<std::ptrdiff_t>(size - first));
    return bytes;
}

void TrafficRecorder::add(const TrafficRecord& record) {
    if (!m_enabled) {
        return;
    }
    // Of a record larger than the whole ring (only a tiny ring meets one), what fits.
    const size_t room = m_bytes.size();
    const auto discarded =
        std::span(record.discarded).first(std::min(record.discarded.size(), room));
    const auto request =
        std::span(record.request).first(std::min(record.request.size(), room - discarded.size()));
    const auto reply =
        std::span(record.reply)
            .first(std::min(record.reply.size(), room - discarded.size() - request.size()));
    const size_t total = discarded.size() + request.size() + reply.size();
    std::lock_guard lock(m_mutex);
    while (m_next - m_first == m_slots.size() || m_bytesNext + total - m_bytesFirst > room) {
        dropOldest();
    }
    Slot& slot = m_slots[m_next % m_slots.size()];
    slot = Slot{record.time,
                record.onLine,
                m_bytesNext,
                static_cast<uint32_t>(discarded.size()),
                static_cast<uint32_t>(request.size()),
                static_cast<uint32_t>(reply.size()),
                record.outcome};
    put(discarded);
    put(request);
    put(reply);
    ++m_next;
}

std::vector<TrafficRecorder::Entry> TrafficRecorder::since(uint64_t sequence) const {
    std::lock_guard lock(m_mutex);
    std::vector<Entry> entries;
    const uint64_t from = std::max(sequence, m_first);
    if (from >= m_next) {
        return entries;
    }
    entries.reserve(static_cast<size_t>(m_next - from));
    for (uint64_t s = from; s < m_next; ++s) {
        const Slot& slot = m_slots[s % m_slots.size()];
        auto record = std::make_shared<TrafficRecord>();
        record->sequence = s;
        record->time = slot.time;
        record->onLine = slot.onLine;
        record->outcome = slot.outcome;
        record->discarded = copyOut(slot.at, slot.discarded);
        record->request = copyOut(slot.at + slot.discarded, slot.request);
        record->reply = copyOut(slot.at + slot.discarded + slot.request, slot.reply);
        entries.push_back(std::move(record));
    }
    return entries;
}

uint64_t TrafficRecorder::firstKept() const {
    std::lock_guard lock(m_mutex);
    return m_first;
}

uint64_t TrafficRecorder::nextSequence() const {
    std::lock_guard lock(m_mutex);
    return m_next;
}

size_t TrafficRecorder::size() const {
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(m_next - m_first);
}

void TrafficRecorder::clear() {
    std::lock_guard lock(m_mutex);
    m_first = m_next;
    m_bytesFirst = m_bytesNext;
}

TrafficRecorder& trafficRecorder() {
    static TrafficRecorder recorder;
    return recorder;
}

namespace {
// Made at start-up rather than in the first exchange, whose request must not wait for it.
[[maybe_unused]] const bool g_recorderMade = (trafficRecorder(), true);
}  // namespace
