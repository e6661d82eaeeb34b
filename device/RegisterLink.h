// The device in registers, on the one open port: reads and writes of holding and input
// registers with the reply length worked out and the reply checked, and the port of the link
// settings held for a while. Nothing here tells an operator anything; that is the caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

using Registers = std::vector<uint16_t>;
using DataBytes = std::vector<uint8_t>;

inline constexpr uint32_t kDefaultTimeoutMs = 1000;

// A block of registers to read: holding registers (function 03) or input registers (04).
struct RegisterBlock {
    bool input = false;
    uint16_t start = 0;
    uint16_t count = 1;
};
constexpr RegisterBlock holding(uint16_t start, uint16_t count = 1) {
    return {false, start, count};
}
constexpr RegisterBlock inputs(uint16_t start, uint16_t count = 1) {
    return {true, start, count};
}

// A write: one register with function 06, or several (even one) with function 16.
struct RegisterWrite {
    uint16_t start = 0;
    Registers values;
    bool multiple = false;
};
inline RegisterWrite writeOne(uint16_t reg, uint16_t value) {
    return {reg, {value}, false};
}
inline RegisterWrite writeMany(uint16_t start, Registers values) {
    return {start, std::move(values), true};
}

// Register-level commands on the open port. Each builds its request, works out the length
// of the reply it waits for, runs the exchange with its checks and gives back the data, or
// nullopt / false when the exchange failed (or no port is open).
class RegisterLink {
  public:
    std::optional<Registers> readHolding(uint16_t start, uint16_t count,
                                         uint32_t timeoutMs = kDefaultTimeoutMs) const;
    std::optional<Registers> readInput(uint16_t start, uint16_t count,
                                       uint32_t timeoutMs = kDefaultTimeoutMs) const;
    std::optional<Registers> read(const RegisterBlock& block,
                                  uint32_t timeoutMs = kDefaultTimeoutMs) const;
    // The data bytes of a holding-register read as they came, for byte-packed records.
    std::optional<DataBytes> readHoldingBytes(uint16_t start, uint16_t count,
                                              uint32_t timeoutMs = kDefaultTimeoutMs) const;
    // Function 06.
    bool writeRegister(uint16_t reg, uint16_t value, uint32_t timeoutMs = kDefaultTimeoutMs) const;
    // Function 06 to a device that needs time before it answers: `beforeReply` runs once the
    // request is out, and only then does the wait for the reply begin.
    bool writeRegister(uint16_t reg, uint16_t value, uint32_t timeoutMs,
                       const std::function<void()>& beforeReply) const;
    // Function 16, even for a single register.
    bool writeRegisters(uint16_t start, std::span<const uint16_t> values,
                        uint32_t timeoutMs = kDefaultTimeoutMs) const;
    bool write(const RegisterWrite& write, uint32_t timeoutMs = kDefaultTimeoutMs) const;

  protected:
    RegisterLink() = default;
    ~RegisterLink() = default;
};

// The port LinkSettings names, held until close() or the end of the holder's life. A failed
// open() leaves nothing open, and lastPortOpenError() (link/SerialPort.h) says why it failed.
class LinkPort : public RegisterLink {
  public:
    LinkPort() = default;
    ~LinkPort();
    LinkPort(const LinkPort&) = delete;
    LinkPort& operator=(const LinkPort&) = delete;

    bool open();  // a port this one holds is closed first
    void close();
    bool isOpen() const { return m_open; }

  private:
    bool m_open = false;
};
