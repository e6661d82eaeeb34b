// The simulated device's configuration registers: settings kept as written, the running
// clock, the sampling moment, the alarm status and the factory registers.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "ModelAddresses.h"
#include "ModelClock.h"

class ModelConfig {
  public:
    ModelConfig(uint16_t deviceAddress, const DateTime& clockStart);

    // Registers of this block: 0x1000-0x101B, 0x10E0 and the write-only 0x10E1.
    static bool contains(uint16_t reg);
    static bool writable(uint16_t reg);
    // The value a read returns; none for unknown and write-only registers.
    std::optional<uint16_t> read(uint16_t reg) const;
    uint16_t lastCalibration() const { return m_calibration; }

    // Writes `values` from `start` as one step: every register must be writable and every
    // value acceptable, or nothing changes. Clock and moment are checked as whole dates.
    ModbusError write(uint16_t start, std::span<const uint16_t> values);

    void advance(std::chrono::milliseconds elapsed) { m_clock.advance(elapsed); }
    // Latches alarm bits the device has seen; the master clears them by writing the status.
    void raiseAlarms(uint16_t bits) {
        m_block[devreg::kAlarmStatus - devreg::kConfigFirst] |= bits;
    }

  private:
    static constexpr int kBlockSize = devreg::kConfigLast - devreg::kConfigFirst + 1;
    using Block = std::array<uint16_t, kBlockSize>;

    static ModbusError checkValue(uint16_t reg, uint16_t value);
    static bool writesDate(uint16_t start, size_t count, uint16_t first);
    static DateRegisters dateFrom(const Block& block, uint16_t first);

    Block m_block{};
    DeviceClock m_clock;
    uint16_t m_dischargeCurrent = 500;
    uint16_t m_calibration = 0;
};
