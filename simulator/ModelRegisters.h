// The simulated device's whole register space: routes each register to the part that
// holds it (live values, configuration, probe bus, record stores) and applies pins.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "LiveValues.h"
#include "ModelAddresses.h"
#include "ModelConfig.h"
#include "ProbeBus.h"
#include "RecordStore.h"

class ModelRegisters {
  public:
    ModelRegisters(uint16_t deviceAddress, const DateTime& clockStart);

    // Reads `count` registers from `start` into `out`. A record window is read on its own
    // with exactly one record's length, and moves on by one record.
    ModbusError read(uint16_t start, uint16_t count, std::vector<uint16_t>& out);
    // Writes one register (as function 0x06 does) or several (0x10); all or nothing.
    ModbusError write(uint16_t start, std::span<const uint16_t> values);
    // What a read of `reg` would give, without moving any window; write-only registers
    // give their last command, a window the first register of its next record.
    std::optional<uint16_t> peek(uint16_t reg) const;

    void pin(uint16_t reg, uint16_t value);
    void unpinAll();
    void advance(std::chrono::milliseconds elapsed);

    LiveValues& live() { return m_live; }
    VoltageRecordStore& voltageRecords() { return m_voltageRecords; }
    RecordStore& resistanceRecords() { return m_resistanceRecords; }
    RecordStore& alarmRecords() { return m_alarmRecords; }

  private:
    std::optional<uint16_t> readable(uint16_t reg) const;
    std::optional<uint16_t> readPlain(uint16_t reg) const;
    std::optional<uint16_t> readRecordRegister(uint16_t reg) const;
    ModbusError readWindow(uint16_t window, uint16_t count, std::vector<uint16_t>& out);
    const RecordRegisters* peekWindow(uint16_t window) const;
    static bool writable(uint16_t reg);
    ModbusError writeOne(uint16_t reg, uint16_t value);
    ModbusError writeRecordCommand(uint16_t reg, uint16_t value);
    ModbusError writeProbeCommand(uint16_t reg, uint16_t value);
    ModbusError writeProbes(uint16_t start, std::span<const uint16_t> values);
    ModbusError startResistanceTest(uint16_t value);
    void followPins(uint16_t start, std::span<const uint16_t> values);
    void raiseAlarms();

    LiveValues m_live;
    ModelConfig m_config;
    ProbeBus m_probes;
    VoltageRecordStore m_voltageRecords;
    RecordStore m_resistanceRecords;
    RecordStore m_alarmRecords;
    std::map<uint16_t, uint16_t> m_pins;  // registers outside the live block
    uint16_t m_lastIrTest = 0;
};
