// The world one scenario file runs in: its own simulated device on COM1 (unless COM1 was
// given another port), a fresh main window, the message boxes it showed, and the answers
// waiting for its modal dialogs. Files are independent because each gets a new session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MessageBox.h"

class CDialog;
class CMainDlg;
class DeviceServer;

// A queued answer for the next password dialog; no password: cancel it.
struct PasswordAnswer {
    int line = 0;
    std::string source;
    std::optional<std::string> password;
};

class ScenarioSession {
  public:
    // `ports`: COMn -> device path assignments from the command line.
    explicit ScenarioSession(std::map<int, std::string> ports);
    ~ScenarioSession();
    ScenarioSession(const ScenarioSession&) = delete;
    ScenarioSession& operator=(const ScenarioSession&) = delete;

    // Starts the device and builds the main window; what went wrong when that fails.
    std::optional<std::string> start();

    CMainDlg& mainWindow() const { return *m_main; }
    // The window steps address: the page slot's window (modal dialogs are answered by the
    // hook before a step could see them).
    CDialog* target() const;
    // Null when COM1 is another port; `noDeviceReason` then says so.
    DeviceServer* device() const { return m_device.get(); }
    std::string noDeviceReason() const;

    std::vector<MessageBoxEvent> messages;  // in the order shown
    size_t messagesRead = 0;
    std::deque<PasswordAnswer> passwords;
    uint64_t requestsRead = 0;  // sequence number of the first unread request in the device's log

  private:
    std::optional<int> answerModal(CDialog& dialog);
    void tearDown();

    std::map<int, std::string> m_ports;
    std::unique_ptr<DeviceServer> m_device;
    std::unique_ptr<CMainDlg> m_main;
};
