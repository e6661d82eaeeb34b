// The simulated temperature probe bus: probes with 8-byte identities and their
// registration to channels 1..40, as the probe registers command it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

using ProbeId = std::array<uint8_t, 8>;

class ProbeBus {
  public:
    static constexpr uint16_t kChannels = 40;
    static constexpr uint16_t kAllChannels = 0x00FF;

    // Starts with 40 probes on the bus, each registered to its own channel.
    ProbeBus();

    uint16_t maxProbes() const { return m_maxProbes; }
    uint16_t selectedChannel() const { return m_selected; }
    // The identity registers of the selected channel; all zero when none is registered.
    std::array<uint16_t, 4> selectedIdentity() const;
    std::optional<ProbeId> identity(int channel) const;  // channel 1..40

    // Each returns false, changing nothing, when the request is out of range.
    bool setMaxProbes(uint16_t count);                         // 0..40
    bool selectChannel(uint16_t channel);                      // 1..max or kAllChannels
    bool registerAll();                                        // channels 1..max
    bool registerFound(uint16_t channel);                      // the probe found at channel
    bool registerManual(uint16_t channel, const ProbeId& id);  // non-zero identity
    bool eraseSelected();

    // The identity of the probe at bus position 1..40: a 1-Wire style family byte, serial
    // bytes and CRC-8, so identities look real and never repeat.
    static ProbeId busProbe(int position);
    static ProbeId fromRegisters(const std::array<uint16_t, 4>& regs);

  private:
    bool registrable(uint16_t channel) const;

    std::array<std::optional<ProbeId>, kChannels> m_registered{};
    uint16_t m_maxProbes = kChannels;
    uint16_t m_selected = 1;
};
