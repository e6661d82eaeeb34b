// Live measurements of the simulated bank: a slow random walk inside plausible ranges.
#include "LiveValues.h"

#include <algorithm>

namespace {

constexpr int kVoltageLow = 12900, kVoltageHigh = 13200;
constexpr int kResistanceLow = 250, kResistanceHigh = 600;
constexpr int kWarmLow = 150, kWarmHigh = 350;
constexpr int kColdLow = -100, kColdHigh = -10;
constexpr int kChargeLow = 50, kChargeHigh = 150;
constexpr int kDischargeLow = -400, kDischargeHigh = -200;
// How far the weak cell stands off: its resistance above the default 10.0 mOhm limit from
// any start, its voltage about 7 % low, its temperature 4 degC up.
constexpr int kWeakResistanceOffset = 800;  // 0.01 mOhm
constexpr int kWeakVoltageOffset = -900;    // 0.001 V
constexpr int kWeakTemperatureOffset = 40;  // 0.1 degC
// A long advance drifts at most this many one-second steps; the walk is bounded anyway.
constexpr int64_t kMaxStepsPerAdvance = 3600;

uint16_t signMagnitude(int value) {
    const int magnitude = std::min(value < 0 ? -value : value, 0x7FFF);
    return static_cast<uint16_t>(value < 0 ? (0x8000 | magnitude) : magnitude);
}

}  // namespace

LiveValues::LiveValues(uint32_t seed) : m_random(seed == 0 ? 1u : seed) {
    for (int cell = 0; cell < kCells; ++cell) {
        m_voltage[cell] = randomIn(kVoltageLow + 50, kVoltageHigh - 50);
        m_resistance[cell] = randomIn(kResistanceLow + 20, kResistanceHigh - 20);
        m_temperature[cell] = randomIn(kWarmLow + 50, kWarmHigh - 50);
    }
    m_current = randomIn(kChargeLow + 20, kChargeHigh - 20);
}

uint16_t LiveValues::read(int index) const {
    if (index < 0 || index >= kRegisters) {
        return 0;
    }
    if (m_pins[index]) {
        return *m_pins[index];
    }
    if (index < kCells) {
        return static_cast<uint16_t>(m_voltage[index] + weakOffset(index, kWeakVoltageOffset));
    }
    if (index < 2 * kCells) {
        const int cell = index - kCells;
        return static_cast<uint16_t>(m_resistance[cell] + weakOffset(cell, kWeakResistanceOffset));
    }
    if (index == 2 * kCells) {
        return signMagnitude(m_current);
    }
    const int cell = index - 2 * kCells - 1;
    return signMagnitude(m_temperature[cell] + weakOffset(cell, kWeakTemperatureOffset));
}

void LiveValues::setWeakCell(int cell) {
    m_weakCell = cell >= 1 && cell <= kCells ? cell : 0;
}

int LiveValues::weakOffset(int cellIndex, int offset) const {
    return cellIndex + 1 == m_weakCell ? offset : 0;
}

void LiveValues::pin(int index, uint16_t value) {
    if (index >= 0 && index < kRegisters) {
        m_pins[index] = value;
    }
}

void LiveValues::unpinAll() {
    m_pins.fill(std::nullopt);
}

void LiveValues::advance(std::chrono::milliseconds elapsed) {
    if (elapsed.count() <= 0) {
        return;
    }
    const int64_t ms = std::min<int64_t>(elapsed.count(), kMaxStepsPerAdvance * 1000);
    m_carryMs += ms;
    for (; m_carryMs >= 1000; m_carryMs -= 1000) {
        step();
    }
    if (m_testRemainingMs) {
        *m_testRemainingMs -= ms;
        if (*m_testRemainingMs <= 0) {
            finishResistanceTest();
        }
    }
}

void LiveValues::setNegativeTemperatures(int count) {
    m_negativeCount = std::clamp(count, 0, kCells);
    for (int cell = 0; cell < kCells; ++cell) {
        placeTemperature(cell);
    }
}

void LiveValues::setDischarging(bool discharging) {
    if (discharging != m_discharging) {
        m_discharging = discharging;
        m_current = discharging ? randomIn(kDischargeLow + 20, kDischargeHigh - 20)
                                : randomIn(kChargeLow + 20, kChargeHigh - 20);
    }
}

void LiveValues::startResistanceTest(int cell) {
    if (cell == kAllCells) {
        m_testCells.set();
    } else if (cell >= 1 && cell <= kCells) {
        m_testCells.set(static_cast<size_t>(cell - 1));
    } else {
        return;
    }
    m_testRemainingMs = kTestDurationMs;
}

void LiveValues::step() {
    for (int cell = 0; cell < kCells; ++cell) {
        m_voltage[cell] = walk(m_voltage[cell], 2, kVoltageLow, kVoltageHigh);
        const bool cold = cell < m_negativeCount;
        m_temperature[cell] =
            walk(m_temperature[cell], 1, cold ? kColdLow : kWarmLow, cold ? kColdHigh : kWarmHigh);
    }
    m_current = m_discharging ? walk(m_current, 3, kDischargeLow, kDischargeHigh)
                              : walk(m_current, 3, kChargeLow, kChargeHigh);
}

// A new measurement differs visibly from the old one (by 0.2 to 0.8 mOhm).
void LiveValues::finishResistanceTest() {
    for (int cell = 0; cell < kCells; ++cell) {
        if (!m_testCells.test(static_cast<size_t>(cell))) {
            continue;
        }
        const int delta = randomIn(20, 80);
        const int old = m_resistance[cell];
        m_resistance[cell] = old + delta <= kResistanceHigh ? old + delta : old - delta;
    }
    m_testCells.reset();
    m_testRemainingMs.reset();
}

void LiveValues::placeTemperature(int cell) {
    const bool cold = cell < m_negativeCount;
    if (cold && m_temperature[cell] >= 0) {
        m_temperature[cell] = randomIn(kColdLow + 10, kColdHigh - 10);
    } else if (!cold && m_temperature[cell] < 0) {
        m_temperature[cell] = randomIn(kWarmLow + 50, kWarmHigh - 50);
    }
}

int LiveValues::walk(int value, int maxStep, int low, int high) {
    return std::clamp(value + randomIn(-maxStep, maxStep), low, high);
}

// xorshift32: small, fast and the same on every platform.
int LiveValues::randomIn(int low, int high) {
    m_random ^= m_random << 13;
    m_random ^= m_random >> 17;
    m_random ^= m_random << 5;
    const auto span = static_cast<uint32_t>(high - low + 1);
    return low + static_cast<int>(m_random % span);
}
