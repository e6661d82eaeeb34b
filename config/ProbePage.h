// Temperature probe page: the number of probes on the bus, registration in three modes,
// the identity registered on a channel, and erasing registrations.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "Dialog.h"

class RegisterLink;

// The erase list's selection (0-39: channels 1-40, 40: all), kept for the whole run.
extern int g_eraseChannelIndex;

class CProbePage : public CDialog {
  public:
    explicit CProbePage(QWidget* parent = nullptr);

  private:
    bool onInitDialog() override;
    // Controls to members (`save`) or members to controls.
    void updateData(bool save);
    void EnableIdFields(bool enable);

    void OnModeSemiOrManual();
    void OnModeFullAuto();
    void OnSetMaxProbes();
    void OnReadMaxProbes();
    void OnRegisterProbe();
    void OnReadProbeId();
    void OnEraseProbe();
    void OnEraseChannelChange();

    void registerFullAuto(const RegisterLink& port);
    void registerSemiAuto(const RegisterLink& port);
    void registerManual(const RegisterLink& port);
    // The probe count the device reports, or nullopt after showing `failure`.
    std::optional<int> readProbeCount(const RegisterLink& port, const char* failure);

    int m_mode = -1;  // 0 semi-automatic, 1 manual, 2 fully automatic
    std::array<std::string, 8> m_id;

    static const MessageEntry<CProbePage> kMessageMap[];
};
