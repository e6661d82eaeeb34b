// Steps on the built-in device: registers, faults, stored records, and the requests it
// received, read in order through the session's cursor: the sequence number of the first
// unread request, which stays valid while the device's log drops its oldest entries.
#include <chrono>
#include <thread>

#include "DeviceServer.h"
#include "ScenarioSession.h"
#include "ScenarioSteps.h"

namespace {

// The device logs a request on its own thread; an exchange that was answered has been
// logged, but one the device ignored may still be on its way for a moment.
constexpr auto kLogGrace = std::chrono::milliseconds(500);
constexpr size_t kRequestsShown = 3;

FaultKind faultKind(ScenarioFault fault) {
    switch (fault) {
        case ScenarioFault::Silent:
            return FaultKind::Silent;
        case ScenarioFault::Short:
            return FaultKind::Short;
        case ScenarioFault::Long:
            return FaultKind::Long;
        case ScenarioFault::Crc:
            return FaultKind::BadCrc;
        case ScenarioFault::Exception:
            return FaultKind::Exception;
        case ScenarioFault::Late:
            return FaultKind::Late;
        case ScenarioFault::Garbage:
            return FaultKind::Garbage;
    }
    return FaultKind::Silent;
}

// `unread` starts at the first unread request the log still keeps.
std::string describeUnread(const std::vector<LoggedFrame>& unread, size_t from = 0) {
    if (from >= unread.size()) {
        return "no unread request";
    }
    std::string text = "unread ";
    const size_t shown = std::min(unread.size() - from, kRequestsShown);
    for (size_t i = from; i < from + shown; ++i) {
        text += (i > from ? ", " : "") + formatHexBytes(unread[i].bytes);
    }
    if (unread.size() - from > shown) {
        text += " (+" + std::to_string(unread.size() - from - shown) + " more)";
    }
    return text;
}

StepFailure expectRequest(ScenarioSession& session, const std::vector<uint8_t>& bytes) {
    const auto deadline = std::chrono::steady_clock::now() + kLogGrace;
    for (;;) {
        const std::vector<LoggedFrame> unread =
            session.device()->requestsSince(session.requestsRead);
        for (const LoggedFrame& frame : unread) {
            if (frame.bytes == bytes) {
                session.requestsRead = frame.sequence + 1;
                return std::nullopt;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return describeUnread(unread);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

StepFailure expectEveryRequest(ScenarioSession& session, const std::vector<uint8_t>& bytes) {
    const std::vector<LoggedFrame> unread = session.device()->requestsSince(session.requestsRead);
    if (unread.empty()) {
        return describeUnread(unread);
    }
    for (size_t i = 0; i < unread.size(); ++i) {
        if (unread[i].bytes != bytes) {
            return describeUnread(unread, i);
        }
    }
    session.requestsRead = unread.back().sequence + 1;
    return std::nullopt;
}

StepFailure expectNoRequest(const ScenarioSession& session) {
    const std::vector<LoggedFrame> unread = session.device()->requestsSince(session.requestsRead);
    if (!unread.empty()) {
        return describeUnread(unread);
    }
    return std::nullopt;
}

}  // namespace

StepFailure runDeviceStep(ScenarioSession& session, const Step& step) {
    DeviceServer* device = session.device();
    if (device == nullptr) {
        return session.noDeviceReason();
    }
    const std::vector<int>& n = step.numbers;
    switch (step.op) {
        case StepOp::DeviceSet:
            device->setRegister(static_cast<uint16_t>(n[0]), static_cast<uint16_t>(n[1]));
            return std::nullopt;
        case StepOp::DeviceFault:
            device->injectFault(faultKind(step.fault), n[0]);
            return std::nullopt;
        case StepOp::DevicePass:
            device->passReplies(n[0]);
            return std::nullopt;
        case StepOp::DeviceLine:
            device->setLine(n[0], n[1]);
            return std::nullopt;
        case StepOp::DeviceVoltageRecords:
            device->seedVoltageRecords(n[0], n[1]);
            return std::nullopt;
        case StepOp::DeviceResistanceRecords:
            device->seedResistanceRecords(n[0]);
            return std::nullopt;
        case StepOp::DeviceAlarmRecords:
            device->seedAlarmRecords(n[0]);
            return std::nullopt;
        case StepOp::DeviceWeak:
            device->withModel([cell = n[0]](DeviceModel& model) { model.setWeakCell(cell); });
            return std::nullopt;
        case StepOp::ExpectRequest:
            return expectRequest(session, step.bytes);
        case StepOp::ExpectEveryRequest:
            return expectEveryRequest(session, step.bytes);
        case StepOp::ExpectNoRequest:
            return expectNoRequest(session);
        default:
            return "a step that is not a device step";
    }
}
