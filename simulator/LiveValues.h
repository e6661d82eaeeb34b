// The simulated live measurement block: 40 cell voltages, 40 internal resistances, the
// bank current and 40 temperatures, drifting slowly in a bounded, seeded random walk.
#pragma once

#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <optional>

class LiveValues {
  public:
    static constexpr int kCells = 40;
    static constexpr int kRegisters = 121;
    static constexpr int kAllCells = 0;
    // A resistance test's results appear this long after its command.
    static constexpr int64_t kTestDurationMs = 1000;

    explicit LiveValues(uint32_t seed = 0x4B4F5256u);

    // Register value at `index` (0..120) as the device reports it.
    uint16_t read(int index) const;
    // Fixes a register at `value`: neither drift nor tests change it until unpinned.
    void pin(int index, uint16_t value);
    void unpinAll();

    void advance(std::chrono::milliseconds elapsed);
    void setNegativeTemperatures(int count);
    void setDischarging(bool discharging);
    // Makes cell 1..40 the bank's weak cell (its resistance well up, its voltage down, a little
    // warmer than its neighbours); 0 (or any other number) makes every cell sound again.
    void setWeakCell(int cell);
    int weakCell() const { return m_weakCell; }
    // Starts a resistance measurement of cell 1..40, or of every cell (kAllCells).
    void startResistanceTest(int cell);
    bool testPending() const { return m_testRemainingMs.has_value(); }

  private:
    void step();
    void finishResistanceTest();
    void placeTemperature(int cell);
    int weakOffset(int cellIndex, int offset) const;
    int walk(int value, int maxStep, int low, int high);
    int randomIn(int low, int high);

    std::array<int, kCells> m_voltage{};      // 0.001 V
    std::array<int, kCells> m_resistance{};   // 0.01 mOhm
    std::array<int, kCells> m_temperature{};  // 0.1 degC, signed
    int m_current = 0;                        // 0.1 A, signed
    std::array<std::optional<uint16_t>, kRegisters> m_pins{};
    int m_negativeCount = 0;
    bool m_discharging = false;
    int m_weakCell = 0;  // 1..40, 0: none
    std::bitset<kCells> m_testCells;
    std::optional<int64_t> m_testRemainingMs;
    int64_t m_carryMs = 0;
    uint32_t m_random;
};
