// Writing side of the simulated register space: settings, commands, probe registration
// and record store control. Every write is checked whole before anything changes.
#include "ModelFrames.h"
#include "ModelRegisters.h"

using namespace devreg;

namespace {

ModbusError accepted(bool ok) {
    return ok ? ModbusError::None : ModbusError::IllegalValue;
}

bool isRecordControl(uint16_t reg) {
    return reg == kVoltageRecords || reg == kVoltageGroup || reg == kResistanceRecords ||
           reg == kResistancePosition || reg == kAlarmRecords || reg == kAlarmPosition;
}

std::array<uint16_t, 4> identityRegisters(std::span<const uint16_t> values) {
    return {values[0], values[1], values[2], values[3]};
}

}  // namespace

ModbusError ModelRegisters::write(uint16_t start, std::span<const uint16_t> values) {
    if (values.empty() || values.size() > kMaxWriteCount) {
        return ModbusError::IllegalValue;
    }
    if (size_t{start} + values.size() > 0x10000) {
        return ModbusError::IllegalAddress;
    }
    for (size_t i = 0; i < values.size(); ++i) {
        if (!writable(static_cast<uint16_t>(start + i))) {
            return ModbusError::IllegalAddress;
        }
    }
    ModbusError error = ModbusError::IllegalValue;
    if (values.size() == 1) {
        error = writeOne(start, values[0]);
    } else if (ModelConfig::contains(start)) {
        error = m_config.write(start, values);
    } else if (start >= kMaxProbes && start <= kProbeErase) {
        error = writeProbes(start, values);
    }
    // Commands and record control take one register at a time: anything else stays
    // IllegalValue.
    if (error == ModbusError::None) {
        followPins(start, values);
    }
    return error;
}

bool ModelRegisters::writable(uint16_t reg) {
    return ModelConfig::writable(reg) || reg == kManualIrTest ||
           (reg >= kMaxProbes && reg <= kProbeErase) || isRecordControl(reg);
}

ModbusError ModelRegisters::writeOne(uint16_t reg, uint16_t value) {
    if (ModelConfig::contains(reg)) {
        return m_config.write(reg, std::span<const uint16_t>(&value, 1));
    }
    if (reg == kManualIrTest) {
        return startResistanceTest(value);
    }
    if (isRecordControl(reg)) {
        return writeRecordCommand(reg, value);
    }
    return writeProbeCommand(reg, value);
}

ModbusError ModelRegisters::writeRecordCommand(uint16_t reg, uint16_t value) {
    switch (reg) {
        case kVoltageGroup:
            return accepted(m_voltageRecords.chooseGroup(value));
        case kResistancePosition:
            return accepted(m_resistanceRecords.position(value));
        case kAlarmPosition:
            return accepted(m_alarmRecords.position(value));
        default:
            break;
    }
    // A count register takes only 0: delete every record of its kind.
    if (value != 0) {
        return ModbusError::IllegalValue;
    }
    if (reg == kVoltageRecords) {
        m_voltageRecords.clear();
    } else if (reg == kResistanceRecords) {
        m_resistanceRecords.clear();
    } else {
        m_alarmRecords.clear();
    }
    return ModbusError::None;
}

ModbusError ModelRegisters::writeProbeCommand(uint16_t reg, uint16_t value) {
    switch (reg) {
        case kMaxProbes:
            return accepted(m_probes.setMaxProbes(value));
        case kProbeChannel:
            return accepted(m_probes.selectChannel(value));
        case kProbeRegister:
            // 1 scans the whole bus; 0 registers the probe found on the selected channel.
            if (value == 1) {
                return accepted(m_probes.registerAll());
            }
            return value == 0 ? accepted(m_probes.registerFound(m_probes.selectedChannel()))
                              : ModbusError::IllegalValue;
        case kProbeErase:
            return value == 1 ? accepted(m_probes.eraseSelected()) : ModbusError::IllegalValue;
        default:
            // An identity register alone: an identity takes all four.
            return ModbusError::IllegalValue;
    }
}

// Several probe registers at once: the semi-automatic (0x1101 = 0, 0x1102 = channel) and
// manual (channel and identity) registrations, or an identity for the selected channel.
ModbusError ModelRegisters::writeProbes(uint16_t start, std::span<const uint16_t> values) {
    if (start == kProbeRegister && values.size() == 2) {
        return values[0] == 0 ? accepted(m_probes.registerFound(values[1]))
                              : ModbusError::IllegalValue;
    }
    if (start == kProbeChannel && values.size() == 5) {
        const ProbeId id = ProbeBus::fromRegisters(identityRegisters(values.subspan(1)));
        return accepted(m_probes.registerManual(values[0], id));
    }
    if (start == kProbeIdentity && values.size() == 4) {
        const ProbeId id = ProbeBus::fromRegisters(identityRegisters(values));
        return accepted(m_probes.registerManual(m_probes.selectedChannel(), id));
    }
    return ModbusError::IllegalValue;
}

// 0x01cc tests cell cc (1..40), 0x01FF every cell; results appear after the test time.
ModbusError ModelRegisters::startResistanceTest(uint16_t value) {
    const int cell = value & 0xFF;
    if ((value >> 8) != 0x01 || ((cell < 1 || cell > LiveValues::kCells) && cell != 0xFF)) {
        return ModbusError::IllegalValue;
    }
    m_live.startResistanceTest(cell == 0xFF ? LiveValues::kAllCells : cell);
    m_lastIrTest = value;
    return ModbusError::None;
}

// A pin stops the simulation from changing a register, not the master: a write the
// device took shows in later reads.
void ModelRegisters::followPins(uint16_t start, std::span<const uint16_t> values) {
    for (size_t i = 0; i < values.size(); ++i) {
        const auto pinned = m_pins.find(static_cast<uint16_t>(start + i));
        if (pinned != m_pins.end()) {
            pinned->second = values[i];
        }
    }
}
