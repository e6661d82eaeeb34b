// Steps on the built-in device: registers, faults, stored records, and the requests it
// received, read in order through the session's cursor into the device's log.
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

std::string describeUnread(const std::vector<LoggedFrame>& log, size_t from) {
    if (from >= log.size()) {
        return "no unread request";
    }
    std::string text = "unread ";
    const size_t shown = std::min(log.size() - from, kRequestsShown);
    for (size_t i = from; i < from + shown; ++i) {
        text += (i > from ? ", " : "") + formatHexBytes(log[i].bytes);
    }
    if (log.size() - from > shown) {
        text += " (+" + std::to_string(log.size() - from - shown) + " more)";
    }
    return text;
}

StepFailure expectRequest(ScenarioSession& session, const std::vector<uint8_t>& bytes) {
    const auto deadline = std::chrono::steady_clock::now() + kLogGrace;
    for (;;) {
        const std::vector<LoggedFrame> log = session.device()->requests();
        for (size_t i = session.requestsRead; i < log.size(); ++i) {
            if (log[i].bytes == bytes) {
                session.requestsRead = i + 1;
                return std::nullopt;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return describeUnread(log, session.requestsRead);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

StepFailure expectEveryRequest(ScenarioSession& session, const std::vector<uint8_t>& bytes) {
    const std::vector<LoggedFrame> log = session.device()->requests();
    if (session.requestsRead >= log.size()) {
        return describeUnread(log, session.requestsRead);
    }
    for (size_t i = session.requestsRead; i < log.size(); ++i) {
        if (log[i].bytes != bytes) {
            return describeUnread(log, i);
        }
    }
    session.requestsRead = log.size();
    return std::nullopt;
}

StepFailure expectNoRequest(const ScenarioSession& session) {
    const std::vector<LoggedFrame> log = session.device()->requests();
    if (session.requestsRead < log.size()) {
        return describeUnread(log, session.requestsRead);
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
        case StepOp::DeviceVoltageRecords:
            device->seedVoltageRecords(n[0], n[1]);
            return std::nullopt;
        case StepOp::DeviceResistanceRecords:
            device->seedResistanceRecords(n[0]);
            return std::nullopt;
        case StepOp::DeviceAlarmRecords:
            device->seedAlarmRecords(n[0]);
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
