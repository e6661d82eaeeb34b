// Faults the simulated device can be told to commit on its next replies, and how each one
// changes a reply. Pure logic.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <span>
#include <vector>

enum class FaultKind {
    Silent,     // no reply; the request is not carried out
    Short,      // the reply loses its last `parameter` bytes (default 1, at most 256)
    Long,       // `parameter` extra bytes follow the reply (default 2, at most 256)
    BadCrc,     // one CRC bit flipped
    Exception,  // exception code 04 instead of the reply; the request is not carried out
    Late,       // the reply leaves `parameter` ms after the request arrived (default 2500)
    Garbage,    // `parameter` junk bytes before the reply (default 3, at most 256)
};

struct Fault {
    FaultKind kind = FaultKind::Silent;
    int parameter = -1;  // negative: the kind's default
};

// Pending faults, each for a number of replies, used up in the order they were added.
class FaultPlan {
  public:
    void add(FaultKind kind, int count, int parameter);
    // The next `count` replies go out as they are; faults added later wait behind them.
    void pass(int count);
    void clear();
    bool empty() const { return m_pending.empty(); }

    // The fault for the next reply, counted as used; none when no fault is pending.
    std::optional<Fault> takeNext();

  private:
    struct Pending {
        std::optional<Fault> fault;  // none: a reply that passes unchanged
        int remaining;
    };
    std::deque<Pending> m_pending;
};

// Faults drawn at random for a share of the replies, for long runs against a misbehaving
// device. Only kinds that fail the very exchange they hit, and no later one, are drawn:
// silent, short, bad CRC, exception and garbage. Not long (on a paced line the extra bytes
// may come after the master took its reply) and not late (the reply would land in a later
// exchange).
class RandomFaults {
  public:
    // `ratePercent` is clamped to 0..100; seed 0 draws a seed of its own.
    explicit RandomFaults(int ratePercent = 0, uint32_t seed = 0);
    // The fault for the next reply; none when it passes.
    std::optional<Fault> draw();

  private:
    int m_ratePercent;
    std::mt19937 m_random;
};

// What actually goes on the line for one request.
struct ShapedReply {
    std::vector<uint8_t> bytes;  // empty: nothing is sent
    std::chrono::milliseconds delay{0};
};

// Whether the device still carries out a request whose reply suffers `fault`.
bool faultExecutesRequest(const Fault& fault);

// The exception reply `address`, function | 0x80, `code`, CRC: five bytes.
std::vector<uint8_t> exceptionReply(int address, uint8_t function, uint8_t code);

// Applies `fault` to `reply`, the normal answer to a request for `function`.
ShapedReply shapeReply(const Fault& fault, int address, uint8_t function,
                       std::vector<uint8_t> reply);
