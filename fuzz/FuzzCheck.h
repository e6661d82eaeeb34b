// What the fuzz targets share: an oracle check that stops the run with the broken rule,
// and a reader that takes an input apart piece by piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

// libFuzzer saves the input that made the target abort.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: oracle broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

class FuzzReader {
  public:
    FuzzReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_at >= m_size; }
    uint8_t byte() { return empty() ? 0 : m_data[m_at++]; }
    uint16_t word() { return static_cast<uint16_t>((byte() << 8) | byte()); }
    // Up to `count` bytes, fewer at the end of the input.
    std::span<const uint8_t> bytes(size_t count) {
        const size_t n = count < m_size - m_at ? count : m_size - m_at;
        const std::span<const uint8_t> out(m_data + m_at, n);
        m_at += n;
        return out;
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};
