// Probe registration of the simulated device: fully automatic, found-probe, manual, erase.
#include "ProbeBus.h"

namespace {

constexpr uint8_t kFamilyCode = 0x28;

// Dallas/Maxim CRC-8 (polynomial 0x31 reflected), as 1-Wire identities end with.
uint8_t crc8(const uint8_t* data, int length) {
    uint8_t crc = 0;
    for (int i = 0; i < length; ++i) {
        uint8_t byte = data[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool mix = ((crc ^ byte) & 1) != 0;
            crc = static_cast<uint8_t>(crc >> 1);
            if (mix) {
                crc ^= 0x8C;
            }
            byte = static_cast<uint8_t>(byte >> 1);
        }
    }
    return crc;
}

bool isZero(const ProbeId& id) {
    for (uint8_t b : id) {
        if (b != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

ProbeBus::ProbeBus() {
    registerAll();
}

std::array<uint16_t, 4> ProbeBus::selectedIdentity() const {
    std::array<uint16_t, 4> regs{};
    const std::optional<ProbeId> id = identity(m_selected);
    if (id) {
        for (size_t i = 0; i < regs.size(); ++i) {
            regs[i] = static_cast<uint16_t>((*id)[2 * i] << 8 | (*id)[2 * i + 1]);
        }
    }
    return regs;
}

std::optional<ProbeId> ProbeBus::identity(int channel) const {
    if (channel < 1 || channel > kChannels) {
        return std::nullopt;
    }
    return m_registered[static_cast<size_t>(channel - 1)];
}

bool ProbeBus::setMaxProbes(uint16_t count) {
    if (count > kChannels) {
        return false;
    }
    m_maxProbes = count;
    return true;
}

// A channel beyond the probe count names no probe on the bus, so the device refuses it as
// it would refuse to read that channel's identity; "all" is taken whatever the count, so
// every registration can be erased even with the count at 0. A channel selected before the
// count was lowered stays selected.
bool ProbeBus::selectChannel(uint16_t channel) {
    if (channel != kAllChannels && (channel < 1 || channel > m_maxProbes)) {
        return false;
    }
    m_selected = channel;
    return true;
}

// Scans the bus and registers the probes found on channels 1..max; the registrations of
// channels above the maximum stay as they were.
bool ProbeBus::registerAll() {
    for (uint16_t channel = 1; channel <= m_maxProbes; ++channel) {
        m_registered[channel - 1u] = busProbe(channel);
    }
    return true;
}

bool ProbeBus::registerFound(uint16_t channel) {
    if (!registrable(channel)) {
        return false;
    }
    m_registered[channel - 1u] = busProbe(channel);
    m_selected = channel;
    return true;
}

bool ProbeBus::registerManual(uint16_t channel, const ProbeId& id) {
    // An all-zero identity is what an empty channel reads; it is no probe.
    if (!registrable(channel) || isZero(id)) {
        return false;
    }
    m_registered[channel - 1u] = id;
    m_selected = channel;
    return true;
}

bool ProbeBus::eraseSelected() {
    if (m_selected == kAllChannels) {
        m_registered.fill(std::nullopt);
    } else {
        m_registered[m_selected - 1u].reset();
    }
    return true;
}

ProbeId ProbeBus::busProbe(int position) {
    ProbeId id{kFamilyCode, 0, 0, 0, 0, 0, 0, 0};
    const auto serial = static_cast<uint32_t>(position) * 0x9E3779B1u;
    for (int i = 0; i < 4; ++i) {
        id[static_cast<size_t>(1 + i)] = static_cast<uint8_t>(serial >> (8 * i));
    }
    id[5] = static_cast<uint8_t>(position);
    id[6] = 0x00;
    id[7] = crc8(id.data(), 7);
    return id;
}

ProbeId ProbeBus::fromRegisters(const std::array<uint16_t, 4>& regs) {
    ProbeId id{};
    for (size_t i = 0; i < regs.size(); ++i) {
        id[2 * i] = static_cast<uint8_t>(regs[i] >> 8);
        id[2 * i + 1] = static_cast<uint8_t>(regs[i] & 0xFF);
    }
    return id;
}

// A registration names one channel that the bus can hold.
bool ProbeBus::registrable(uint16_t channel) const {
    return channel >= 1 && channel <= kChannels && channel <= m_maxProbes;
}
