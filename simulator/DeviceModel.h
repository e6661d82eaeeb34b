// The simulated monitoring device's registers, record stores and probe bus: answers one
// Modbus request frame at a time. Pure logic: no I/O, no threads, no locks.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class DeviceModel {
  public:
    using Bytes = std::vector<uint8_t>;

    // A reply frame and how long after its request the device lets it go.
    struct Reply {
        Bytes bytes;
        std::chrono::milliseconds delay{0};
    };

    static constexpr std::chrono::milliseconds kDefaultProbeScanTime{3000};

    explicit DeviceModel(int address = 1);
    ~DeviceModel();
    DeviceModel(const DeviceModel&) = delete;
    DeviceModel& operator=(const DeviceModel&) = delete;

    int address() const;

    // Answers one complete request frame whose CRC and address the caller has checked.
    // Returns the whole reply frame with its CRC: the normal reply, or an exception reply
    // for an unknown function, register or malformed request. Never throws.
    Bytes answer(std::span<const uint8_t> frame);
    // As answer(), with the time the device takes: the command that scans the whole probe
    // bus is answered only after the scan time; everything else at once. The request takes
    // effect at once either way.
    Reply respond(std::span<const uint8_t> frame);

    // How long a scan of the whole probe bus takes; negative counts as zero.
    void setProbeScanTime(std::chrono::milliseconds time);
    std::chrono::milliseconds probeScanTime() const;

    // Lets time pass: live values drift slowly, the clock runs, pending resistance tests end.
    void advance(std::chrono::milliseconds elapsed);

    // Sets a register and pins it: the simulation no longer changes it.
    void setRegister(uint16_t reg, uint16_t value);
    void unpinAll();
    std::optional<uint16_t> registerValue(uint16_t reg) const;  // none for unknown registers

    // Makes the first `count` cells' temperatures negative (a cold room), 0 undoes it.
    void setNegativeTemperatures(int count);
    // Bank current: positive while charging, negative (bit 15) while discharging.
    void setDischarging(bool discharging);
    // Cell 1..40 becomes a weak cell (higher resistance, lower voltage, a little warmer);
    // 0 makes the bank sound again.
    void setWeakCell(int cell);

    // Replaces a store's contents with `count` plausible records.
    void seedVoltageRecords(int group, int count);  // group 1..8
    void seedResistanceRecords(int count);
    void seedAlarmRecords(int count);

  private:
    struct State;
    std::unique_ptr<State> m_state;
};
