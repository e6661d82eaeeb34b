// The simulated monitoring device as one object: parses a request, lets the register
// space act on it and frames the reply.
#include "DeviceModel.h"

#include <algorithm>

#include "ModelFrames.h"
#include "ModelRecords.h"
#include "ModelRegisters.h"

namespace {

// Writing 1 to the registration register alone makes the device look for every probe on
// the bus, which takes it seconds; it answers when the scan is done.
bool startsProbeScan(const ModelRequest& request) {
    return request.function == kWriteSingle && request.start == devreg::kProbeRegister &&
           request.values.front() == 1;
}

}  // namespace

struct DeviceModel::State {
    State(int deviceAddress, const DateTime& clockStart)
        : address(deviceAddress), registers(static_cast<uint16_t>(deviceAddress), clockStart) {}

    Reply respond(std::span<const uint8_t> frame);

    int address;
    ModelRegisters registers;
    std::chrono::milliseconds probeScanTime = kDefaultProbeScanTime;
};

DeviceModel::Reply DeviceModel::State::respond(std::span<const uint8_t> frame) {
    ModelRequest request;
    const ModbusError parsed = parseRequest(frame, request);
    if (parsed != ModbusError::None) {
        return {exceptionReply(frame[0], frame[1], parsed)};
    }
    if (request.function == kReadHolding || request.function == kReadInput) {
        std::vector<uint16_t> values;
        const ModbusError error = registers.read(request.start, request.quantity, values);
        return {error == ModbusError::None
                    ? readReply(request.address, request.function, values)
                    : exceptionReply(request.address, request.function, error)};
    }
    const ModbusError error = registers.write(request.start, request.values);
    if (error != ModbusError::None) {
        return {exceptionReply(request.address, request.function, error)};
    }
    // 0x06 echoes the value, 0x10 answers the quantity.
    const uint16_t second =
        request.function == kWriteSingle ? request.values.front() : request.quantity;
    return {writeReply(request.address, request.function, request.start, second),
            startsProbeScan(request) ? probeScanTime : std::chrono::milliseconds(0)};
}

// A device in service already holds some records, so every dialog has something to show.
DeviceModel::DeviceModel(int address)
    : m_state(std::make_unique<State>(address, localDateTimeNow())) {
    seedVoltageRecords(1, 6);
    seedVoltageRecords(2, 4);
    seedResistanceRecords(5);
    seedAlarmRecords(4);
}

DeviceModel::~DeviceModel() = default;

int DeviceModel::address() const {
    return m_state->address;
}

DeviceModel::Bytes DeviceModel::answer(std::span<const uint8_t> frame) {
    return respond(frame).bytes;
}

DeviceModel::Reply DeviceModel::respond(std::span<const uint8_t> frame) {
    // Without a function code there is nothing to answer, not even an exception.
    if (frame.size() < 4) {
        return {};
    }
    try {
        return m_state->respond(frame);
    } catch (...) {
        return {exceptionReply(frame[0], frame[1], ModbusError::DeviceFailure)};
    }
}

void DeviceModel::setProbeScanTime(std::chrono::milliseconds time) {
    m_state->probeScanTime = std::max(time, std::chrono::milliseconds(0));
}

std::chrono::milliseconds DeviceModel::probeScanTime() const {
    return m_state->probeScanTime;
}

void DeviceModel::advance(std::chrono::milliseconds elapsed) {
    m_state->registers.advance(elapsed);
}

void DeviceModel::setRegister(uint16_t reg, uint16_t value) {
    m_state->registers.pin(reg, value);
}

void DeviceModel::unpinAll() {
    m_state->registers.unpinAll();
}

std::optional<uint16_t> DeviceModel::registerValue(uint16_t reg) const {
    return m_state->registers.peek(reg);
}

void DeviceModel::setNegativeTemperatures(int count) {
    m_state->registers.live().setNegativeTemperatures(count);
}

void DeviceModel::setWeakCell(int cell) {
    m_state->registers.live().setWeakCell(cell);
}

void DeviceModel::setDischarging(bool discharging) {
    m_state->registers.live().setDischarging(discharging);
}

void DeviceModel::seedVoltageRecords(int group, int count) {
    if (group >= 1 && group <= VoltageRecordStore::kGroups) {
        m_state->registers.voltageRecords().replace(static_cast<uint16_t>(group),
                                                    makeVoltageRecords(group, count));
    }
}

void DeviceModel::seedResistanceRecords(int count) {
    m_state->registers.resistanceRecords().replace(makeResistanceRecords(count));
}

void DeviceModel::seedAlarmRecords(int count) {
    m_state->registers.alarmRecords().replace(makeAlarmRecords(count));
}
