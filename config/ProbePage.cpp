// Temperature probe page. Every command opens the port first and checks its input after;
// registration runs one of three sequences by the mode, the fully automatic one waiting up
// to 7 s for the device to scan its bus.
#include "ProbePage.h"

#include <algorithm>

#include "DevicePort.h"
#include "DeviceRegisters.h"
#include "FormCommands.h"
#include "RegisterCoding.h"
#include "Strings.h"
#include "Templates.h"
#include "VisibleWait.h"
#include "ids/ProbeIds.h"

namespace ids = idc::probe;

int g_eraseChannelIndex = 0;

const MessageEntry<CProbePage> CProbePage::kMessageMap[] = {
    {ids::kModeSemi, Notify::Clicked, &CProbePage::OnModeSemiOrManual},
    {ids::kModeManual, Notify::Clicked, &CProbePage::OnModeSemiOrManual},
    {ids::kModeFull, Notify::Clicked, &CProbePage::OnModeFullAuto},
    {ids::kSetMax, Notify::Clicked, &CProbePage::OnSetMaxProbes},
    {ids::kReadMax, Notify::Clicked, &CProbePage::OnReadMaxProbes},
    {ids::kRegister, Notify::Clicked, &CProbePage::OnRegisterProbe},
    {ids::kReadId, Notify::Clicked, &CProbePage::OnReadProbeId},
    {ids::kErase, Notify::Clicked, &CProbePage::OnEraseProbe},
    {ids::kEraseChannel, Notify::SelChange, &CProbePage::OnEraseChannelChange},
};

namespace {
constexpr uint16_t kMaxProbesRegister = reg::kMaxProbes;
constexpr uint16_t kRegisterCommand = reg::kProbeRegistration;
constexpr uint16_t kChannelRegister = reg::kProbeChannel;
constexpr uint16_t kIdentityRegister = reg::kProbeIdentity;  // four registers, eight bytes
constexpr uint16_t kEraseCommand = reg::kProbeErase;
constexpr uint32_t kFullAutoTimeoutMs = 7000;
constexpr int kMaxChannels = 40;
constexpr int kAllChannelsIndex = 40;
constexpr uint16_t kAllChannels = 0x00FF;
constexpr int kModes[] = {ids::kModeSemi, ids::kModeManual, ids::kModeFull};

uint16_t lowByte(int value) {
    return static_cast<uint16_t>(value & 0xFF);
}

// The place (1-8) of the first identity text whose number is wider than a byte (1FF, or
// -7 as "%x" wraps it); 0 when every one is a byte.
int firstWideIdByte(const std::array<std::string, 8>& id) {
    for (size_t i = 0; i < id.size(); ++i) {
        if (textToHex(id[i]) > 0xFF) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}
}  // namespace

CProbePage::CProbePage(QWidget* parent) : CDialog(dialogTemplate(IDD_PROBE), parent) {
    useMessageMap<CProbePage>(kMessageMap);
}

bool CProbePage::onInitDialog() {
    updateData(true);
    setWindowText(ids::kChannel, "1");
    setWindowText(ids::kReadChannel, "1");
    m_mode = 0;
    EnableIdFields(false);
    setCurSel(ids::kEraseChannel, 0);
    updateData(false);
    return true;
}

void CProbePage::updateData(bool save) {
    for (int i = 0; i < 8; ++i) {
        if (save) {
            m_id[i] = windowText(ids::kIdBytes[i]);
        } else {
            setWindowText(ids::kIdBytes[i], m_id[i]);
        }
    }
    for (int mode = 0; mode < 3; ++mode) {
        if (save && isChecked(kModes[mode])) {
            m_mode = mode;
        } else if (!save) {
            setChecked(kModes[mode], mode == m_mode);
        }
    }
}

void CProbePage::EnableIdFields(bool enable) {
    for (int id : ids::kIdBytes) {
        enableControl(id, enable);
    }
}

void CProbePage::OnModeSemiOrManual() {
    updateData(true);
    enableControl(ids::kChannel, true);
    EnableIdFields(m_mode != 0);
}

void CProbePage::OnModeFullAuto() {
    enableControl(ids::kChannel, false);
    EnableIdFields(false);
}

void CProbePage::OnSetMaxProbes() {
    const int count = textToInt(windowText(ids::kMaxProbes));
    const bool valid = count >= 0 && count <= kMaxChannels;
    writeAndReport(*this, writeOne(kMaxProbesRegister, static_cast<uint16_t>(valid ? count : 0)),
                   valid ? "" : kMsgProbeCountRange);
}

void CProbePage::OnReadMaxProbes() {
    readAndShow(*this, holding(kMaxProbesRegister), [this](const Registers& r) {
        setWindowText(ids::kMaxProbes, formatText("%d", r[0]));
    });
}

void CProbePage::OnRegisterProbe() {
    updateData(true);
    PortSession port;
    if (!port) {
        return;
    }
    if (m_mode == 2) {
        registerFullAuto(port);
    } else if (m_mode == 0) {
        registerSemiAuto(port);
    } else if (m_mode == 1) {
        registerManual(port);
    }
}

void CProbePage::registerFullAuto(const RegisterLink& port) {
    const std::string count = windowText(ids::kMaxProbes);
    if (count.empty()) {
        messageBox(kMsgProbeCountEmpty);
    } else if (textToInt(count) > kMaxChannels) {
        messageBox(kMsgProbeCountOver40);
    } else {
        VisibleWait wait(this, kWaitFullAutoRegistration);
        const bool ok = port.writeRegister(kRegisterCommand, 1, kFullAutoTimeoutMs);
        messageBox(ok ? kMsgRegisterOk : kMsgRegisterFailed);
    }
}

void CProbePage::registerSemiAuto(const RegisterLink& port) {
    const int channel = textToInt(windowText(ids::kChannel));
    if (channel < 0) {  // its low byte would name another channel, or all of them
        messageBox(kMsgProbeChannelNegative);
        return;
    }
    const auto count = readProbeCount(port, kMsgProbeCountReadFailed);
    if (!count) {
        return;
    }
    if (*count == 0) {
        messageBox(kMsgNoProbes);
    } else if (channel > *count) {
        messageBox(kMsgChannelOverProbes);
    } else {
        const uint16_t values[] = {0, lowByte(channel)};
        const bool ok = port.writeRegisters(kRegisterCommand, values);
        messageBox(ok ? kMsgRegisterOk : kMsgRegisterFailed);
    }
}

void CProbePage::registerManual(const RegisterLink& port) {
    const std::string channelText = windowText(ids::kChannel);
    const int channel = textToInt(channelText);
    if (std::any_of(m_id.begin(), m_id.end(), [](const auto& b) { return b.empty(); })) {
        messageBox(kMsgIdIncomplete);
        return;
    }
    if (channelText.empty()) {
        messageBox(kMsgChannelEmpty);
        return;
    }
    if (const int wide = firstWideIdByte(m_id); wide != 0) {
        messageBox(formatText(kMsgProbeIdByteRange, wide));
        return;
    }
    if (channel < 0) {
        messageBox(kMsgProbeChannelNegative);
        return;
    }
    const auto total = readProbeCount(port, kMsgProbeCountReadFailed);
    if (!total) {
        return;
    }
    if (channel > *total) {
        messageBox(kMsgChannelOverTotal);
        return;
    }
    Registers values{lowByte(channel)};
    for (int i = 0; i < 8; i += 2) {
        values.push_back(static_cast<uint16_t>((textToHex(m_id[i]) << 8) | textToHex(m_id[i + 1])));
    }
    messageBox(port.writeRegisters(kChannelRegister, values) ? kMsgRegisterOk : kMsgRegisterFailed);
}

void CProbePage::OnReadProbeId() {
    updateData(true);
    EnableIdFields(true);
    PortSession port;
    if (!port) {
        return;
    }
    const int channel = textToInt(windowText(ids::kReadChannel));
    if (channel < 1 || channel > kMaxChannels) {
        messageBox(kMsgReadChannelRange);
        return;
    }
    if (!port.writeRegister(kChannelRegister, lowByte(channel))) {
        messageBox(kMsgReadChannelFailed);
        return;
    }
    const auto identity = port.readHoldingBytes(kIdentityRegister, 4);
    if (!identity) {
        messageBox(kMsgProbeChannelFailed);
        return;
    }
    for (int i = 0; i < 8; ++i) {
        m_id[i] = formatText("%X", (*identity)[i]);
    }
    updateData(false);
}

void CProbePage::OnEraseProbe() {
    const int selected = g_eraseChannelIndex;
    PortSession port;
    if (!port) {
        return;
    }
    const auto total = readProbeCount(port, kMsgReadFailed);
    if (!total) {
        return;
    }
    if (selected < kAllChannelsIndex && selected + 1 > *total) {
        messageBox(kMsgEraseOverTotal);
        return;
    }
    const uint16_t channel = selected < kAllChannelsIndex ? lowByte(selected + 1) : kAllChannels;
    if (!port.writeRegister(kChannelRegister, channel)) {
        messageBox(kMsgProbeChannelFailed);
        return;
    }
    messageBox(port.writeRegister(kEraseCommand, 1) ? kMsgEraseOk : kMsgEraseFailed);
}

void CProbePage::OnEraseChannelChange() {
    g_eraseChannelIndex = curSel(ids::kEraseChannel);
}

std::optional<int> CProbePage::readProbeCount(const RegisterLink& port, const char* failure) {
    const auto count = port.readHolding(kMaxProbesRegister, 1);
    if (!count) {
        messageBox(failure);
        return std::nullopt;
    }
    return (*count)[0];
}
