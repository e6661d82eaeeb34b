// Reading side of the simulated register space, pins and the passing of time.
#include "ModelRegisters.h"

#include "ModelAlarms.h"
#include "ModelFrames.h"

using namespace devreg;

namespace {

constexpr uint16_t kWindows[] = {kVoltageWindow, kResistanceWindow, kAlarmWindow};

uint16_t windowLength(uint16_t window) {
    return window == kAlarmWindow ? kAlarmRecordLength : kVoltageRecordLength;
}

}  // namespace

ModelRegisters::ModelRegisters(uint16_t deviceAddress, const DateTime& clockStart)
    : m_config(deviceAddress, clockStart),
      m_voltageRecords(kVoltageRecordLength),
      m_resistanceRecords(kResistanceRecordLength),
      m_alarmRecords(kAlarmRecordLength) {}

ModbusError ModelRegisters::read(uint16_t start, uint16_t count, std::vector<uint16_t>& out) {
    out.clear();
    if (count == 0 || count > kMaxReadCount) {
        return ModbusError::IllegalValue;
    }
    const size_t end = size_t{start} + count;
    if (end > 0x10000) {
        return ModbusError::IllegalAddress;
    }
    for (uint16_t window : kWindows) {
        if (window >= start && window < end) {
            // The registers after a window's first one only exist as part of a record.
            return window == start ? readWindow(window, count, out) : ModbusError::IllegalAddress;
        }
    }
    for (size_t reg = start; reg < end; ++reg) {
        const std::optional<uint16_t> value = readable(static_cast<uint16_t>(reg));
        if (!value) {
            out.clear();
            return ModbusError::IllegalAddress;
        }
        out.push_back(*value);
    }
    return ModbusError::None;
}

std::optional<uint16_t> ModelRegisters::peek(uint16_t reg) const {
    if (const std::optional<uint16_t> value = readable(reg)) {
        return value;
    }
    switch (reg) {
        case kManualIrTest:
            return m_live.testPending() ? m_lastIrTest : uint16_t{0};
        case kCalibration:
            return m_config.lastCalibration();
        case kProbeRegister:
        case kProbeErase:
            return uint16_t{0};
        default:
            break;
    }
    if (const RecordRegisters* record = peekWindow(reg)) {
        return record->front();
    }
    return std::nullopt;
}

void ModelRegisters::pin(uint16_t reg, uint16_t value) {
    if (reg < kLiveCount) {
        m_live.pin(reg, value);
    } else if (readPlain(reg)) {
        m_pins[reg] = value;
    }
}

void ModelRegisters::unpinAll() {
    m_live.unpinAll();
    m_pins.clear();
}

void ModelRegisters::advance(std::chrono::milliseconds elapsed) {
    m_live.advance(elapsed);
    m_config.advance(elapsed);
    raiseAlarms();
}

std::optional<uint16_t> ModelRegisters::readable(uint16_t reg) const {
    const auto pinned = m_pins.find(reg);
    return pinned != m_pins.end() ? pinned->second : readPlain(reg);
}

std::optional<uint16_t> ModelRegisters::readPlain(uint16_t reg) const {
    if (reg < kLiveCount) {
        return m_live.read(reg);
    }
    if (ModelConfig::contains(reg)) {
        return m_config.read(reg);
    }
    if (reg >= kProbeIdentity && reg < kProbeIdentity + 4) {
        return m_probes.selectedIdentity()[reg - kProbeIdentity];
    }
    switch (reg) {
        case kMaxProbes:
            return m_probes.maxProbes();
        case kProbeChannel:
            return m_probes.selectedChannel();
        default:
            return readRecordRegister(reg);
    }
}

// Counts, and the positioning registers read back where each window stands.
std::optional<uint16_t> ModelRegisters::readRecordRegister(uint16_t reg) const {
    switch (reg) {
        case kVoltageRecords:
            return m_voltageRecords.totalCount();
        case kVoltageGroup:
            return m_voltageRecords.group();
        case kVoltageGroupCount:
            return m_voltageRecords.groupCount();
        case kResistanceRecords:
            return m_resistanceRecords.count();
        case kResistancePosition:
            return m_resistanceRecords.nextNumber();
        case kAlarmRecords:
            return m_alarmRecords.count();
        case kAlarmPosition:
            return m_alarmRecords.nextNumber();
        default:
            return std::nullopt;
    }
}

ModbusError ModelRegisters::readWindow(uint16_t window, uint16_t count,
                                       std::vector<uint16_t>& out) {
    if (count != windowLength(window)) {
        return ModbusError::IllegalValue;
    }
    std::optional<RecordRegisters> record;
    if (window == kVoltageWindow) {
        record = m_voltageRecords.take();
    } else if (window == kResistanceWindow) {
        record = m_resistanceRecords.take();
    } else {
        record = m_alarmRecords.take();
    }
    if (!record) {
        return ModbusError::IllegalAddress;  // the window is past the last record
    }
    out = std::move(*record);
    return ModbusError::None;
}

const RecordRegisters* ModelRegisters::peekWindow(uint16_t window) const {
    switch (window) {
        case kVoltageWindow:
            return m_voltageRecords.peek();
        case kResistanceWindow:
            return m_resistanceRecords.peek();
        case kAlarmWindow:
            return m_alarmRecords.peek();
        default:
            return nullptr;
    }
}

void ModelRegisters::raiseAlarms() {
    std::array<uint16_t, kLiveCount> live{};
    for (uint16_t i = 0; i < kLiveCount; ++i) {
        live[i] = m_live.read(i);
    }
    auto value = [this](uint16_t reg) { return readable(reg).value_or(0); };
    AlarmSettings settings;
    settings.tempLimits = value(kTempLimits);
    settings.voltLimits = value(kVoltLimits);
    settings.irLimit = value(kIrLimit);
    settings.currentLimit = value(kCurrentLimit);
    for (uint16_t i = 0; i < 3; ++i) {
        settings.voltMask[i] = value(static_cast<uint16_t>(kVoltMask + i));
        settings.irMask[i] = value(static_cast<uint16_t>(kIrMask + i));
        settings.tempMask[i] = value(static_cast<uint16_t>(kTempMask + i));
    }
    m_config.raiseAlarms(evaluateAlarms(live, settings));
}
