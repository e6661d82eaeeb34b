// A scenario file's session: the device, the main window built as the program builds it,
// the recording message sink and the hook that answers modal dialogs.
#include "ScenarioSession.h"

#include "JudgeState.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <cerrno>
#include <cstring>

#include "DeviceServer.h"
#include "Dialog.h"
#include "JudgeState.h"
#include "LinkSettings.h"
#include "MainDlg.h"
#include "SerialPort.h"

namespace {

QLineEdit* passwordEdit(CDialog& dialog) {
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        if (edit->echoMode() == QLineEdit::Password) {
            return edit;
        }
    }
    return nullptr;
}

}  // namespace

ScenarioSession::ScenarioSession(std::map<int, std::string> ports) : m_ports(std::move(ports)) {}

ScenarioSession::~ScenarioSession() {
    tearDown();
}

std::optional<std::string> ScenarioSession::start() {
    clearPortPaths();
    for (const auto& [number, path] : m_ports) {
        setPortPath(number, path);
    }
    if (m_ports.count(1) == 0) {
        m_device = std::make_unique<DeviceServer>();
        if (!m_device->start()) {
            return std::string("no pseudo-terminal for the built-in device: ") +
                   std::strerror(errno);
        }
        setPortPath(1, m_device->path());
    }
    // The values a fresh process starts with; the communication page sets its own.
    LinkSettings::portNumber = 0;
    LinkSettings::baudRate = 0;
    LinkSettings::deviceAddress = 0;
    resetJudgeState();  // nothing read, nothing chosen

    setMessageSink([this](const MessageBoxEvent& event) { messages.push_back(event); });
    CDialog::setModalHook([this](CDialog& dialog) { return answerModal(dialog); });
    m_main = std::make_unique<CMainDlg>();
    m_main->create(nullptr);
    m_main->show();
    QCoreApplication::processEvents();
    return std::nullopt;
}

CDialog* ScenarioSession::target() const {
    return m_main ? m_main->currentPage() : nullptr;
}

std::string ScenarioSession::noDeviceReason() const {
    const auto it = m_ports.find(1);
    const std::string path = it != m_ports.end() ? it->second : std::string("another port");
    return "COM1 on " + path + " instead of the built-in device, which this step needs";
}

// The next password dialog takes the oldest queued answer; any other modal dialog, and a
// password dialog with nothing queued, is answered OK at once.
std::optional<int> ScenarioSession::answerModal(CDialog& dialog) {
    QLineEdit* edit = passwordEdit(dialog);
    if (edit == nullptr || passwords.empty()) {
        return IDOK;
    }
    const PasswordAnswer answer = passwords.front();
    passwords.pop_front();
    if (!answer.password) {
        if (dialog.control(IDCANCEL) == nullptr) {
            return IDCANCEL;  // closed from its title bar
        }
        dialog.clickControl(IDCANCEL);  // its "取消", as the operator presses it
        return dialog.result() == IDCANCEL ? IDCANCEL : IDOK;
    }
    edit->setText(QString::fromStdString(*answer.password));
    dialog.clickControl(IDOK);
    return IDOK;
}

void ScenarioSession::tearDown() {
    if (m_main) {
        closeSerialPort();
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CDialog::setModalHook({});
    setMessageSink({});
    closeSerialPort();
    m_device.reset();
    clearPortPaths();
}
