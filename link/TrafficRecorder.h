// The record of the traffic on the line for the traffic monitor: every exchange's bytes as
// sent and as received, faulty ones included, kept in memory as a ring of the last ones.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "ModbusFrame.h"

// How an exchange ended, as the exchange judged its reply.
enum class TrafficOutcome : uint8_t {
    Ok,
    Timeout,      // nothing came in time (or a whole reply came only after the wait)
    WrongLength,  // too few or too many bytes
    BadCrc,       // the expected number of bytes, but the CRC does not hold
    Exception,    // the device's exception reply: address, function | 0x80, code, CRC
    SendFailed,   // the request did not go out whole
};

struct TrafficRecord {
    uint64_t sequence = 0;                         // counts every record kept, from 0
    std::chrono::system_clock::time_point time{};  // when the request went out
    // From the request written to the reply complete or the wait given up.
    std::chrono::microseconds onLine{0};
    TrafficOutcome outcome = TrafficOutcome::Ok;
    Bytes discarded;  // what the receive queue held before the request, dropped unread
    Bytes request;    // the bytes written
    Bytes reply;      // the bytes read, with the surplus of an over-long reply
};

// The outcome of an exchange that expected `expected` reply bytes and got `reply`;
// `accepted` is the exchange's own verdict (length and CRC held).
TrafficOutcome classifyReply(std::span<const uint8_t> reply, size_t expected, bool accepted);

class TrafficRecorder {
  public:
    static constexpr size_t kCapacity = 10'000;
    // Bytes kept per exchange: a live read's request and reply (8 + 247) fit.
    static constexpr size_t kBytesPerExchange = 256;
    using Entry = std::shared_ptr<const TrafficRecord>;

    // All the memory the ring will use is taken here, so that recording never grows it:
    // `capacity` exchanges of `bytesPerExchange` bytes. Exchanges that are longer on
    // average (replies of junk) push out more of the oldest.
    explicit TrafficRecorder(size_t capacity = kCapacity,
                             size_t bytesPerExchange = kBytesPerExchange);

    // Recording is on from the start; off, add() keeps nothing.
    void setEnabled(bool on) { m_enabled = on; }
    bool enabled() const { return m_enabled; }

    // Keeps a copy of `record` as the newest, with the next sequence number; the oldest
    // leave when the ring is full. Thread-safe, as is everything below.
    void add(const TrafficRecord& record);
    // Copies of the kept records numbered `sequence` or later, oldest first.
    std::vector<Entry> since(uint64_t sequence) const;
    // The sequence number of the oldest record kept; nextSequence() when none is.
    uint64_t firstKept() const;
    uint64_t nextSequence() const;
    size_t size() const;
    // Empties the ring; sequence numbers go on.
    void clear();

  private:
    // A kept exchange; its bytes (discarded, request, reply) lie in m_bytes from `at` on.
    struct Slot {
        std::chrono::system_clock::time_point time{};
        std::chrono::microseconds onLine{0};
        uint64_t at = 0;  // position in the stream of bytes ever kept
        uint32_t discarded = 0;
        uint32_t request = 0;
        uint32_t reply = 0;
        TrafficOutcome outcome = TrafficOutcome::Ok;
    };

    void dropOldest();
    void put(std::span<const uint8_t> bytes);
    Bytes copyOut(uint64_t position, size_t size) const;

    mutable std::mutex m_mutex;
    std::vector<Slot> m_slots;     // slot of sequence s: s % capacity
    std::vector<uint8_t> m_bytes;  // ring of bytes; stream position p at p % size
    uint64_t m_first = 0;
    uint64_t m_next = 0;
    uint64_t m_bytesFirst = 0;  // stream position of the oldest kept record's bytes
    uint64_t m_bytesNext = 0;
    std::atomic<bool> m_enabled{true};
};

// The process-wide recorder, which every exchange on the port reports to.
TrafficRecorder& trafficRecorder();
