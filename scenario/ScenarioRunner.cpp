// The run of one scenario: parse it whole first (a typo fails before anything runs), then
// execute the steps in a new session and stop at the first step that does not hold.
#include "ScenarioRunner.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ScenarioParser.h"
#include "ScenarioSession.h"
#include "ScenarioSteps.h"

namespace {

FileResult failure(int line, std::string expectation, std::string found) {
    return {false, line, std::move(expectation), std::move(found)};
}

StepFailure runStep(ScenarioSession& session, const Step& step) {
    switch (step.op) {
        case StepOp::Tab:
        case StepOp::Click:
        case StepOp::ClickLater:
        case StepOp::Type:
        case StepOp::Select:
        case StepOp::TreeClick:
        case StepOp::Key:
        case StepOp::Wait:
        case StepOp::Password:
        case StepOp::PasswordCancel:
            return runAction(session, step);
        case StepOp::ExpectTab:
        case StepOp::ExpectShowing:
        case StepOp::ExpectTitle:
        case StepOp::ExpectLink:
            return checkWindow(session, step);
        case StepOp::ExpectMessage:
        case StepOp::ExpectWarning:
        case StepOp::ExpectNoMessage:
            return checkMessages(session, step);
        case StepOp::DeviceSet:
        case StepOp::DeviceFault:
        case StepOp::DevicePass:
        case StepOp::DeviceLine:
        case StepOp::DeviceVoltageRecords:
        case StepOp::DeviceResistanceRecords:
        case StepOp::DeviceAlarmRecords:
        case StepOp::DeviceWeak:
        case StepOp::ExpectRequest:
        case StepOp::ExpectEveryRequest:
        case StepOp::ExpectNoRequest:
            return runDeviceStep(session, step);
        default:
            return checkControl(session, step);
    }
}

FileResult runSteps(const std::vector<Step>& steps, const std::map<int, std::string>& ports) {
    ScenarioSession session(ports);
    if (auto found = session.start()) {
        return failure(0, "a fresh main window on the built-in device", *found);
    }
    for (const Step& step : steps) {
        if (auto found = runStep(session, step)) {
            return failure(step.line, step.source, *found);
        }
    }
    // An answer nobody asked for means the scenario's picture of the program is wrong.
    if (!session.passwords.empty()) {
        const PasswordAnswer& left = session.passwords.front();
        return failure(left.line, left.source, "no password dialog that took it");
    }
    return {};
}

}  // namespace

FileResult runScenarioText(std::string_view text, const std::map<int, std::string>& ports) {
    const ParsedScenario parsed = parseScenario(text);
    if (parsed.error) {
        return failure(parsed.error->line, parsed.error->source, parsed.error->found);
    }
    if (parsed.steps.empty()) {
        return failure(0, "at least one step", "none");
    }
    try {
        return runSteps(parsed.steps, ports);
    } catch (const std::exception& e) {
        return failure(0, "a run without exceptions", e.what());
    }
}

FileResult runScenarioFile(const std::string& path, const std::map<int, std::string>& ports) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return failure(0, "a scenario file", error ? error.message() : "no regular file");
    }
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad() || !file.is_open()) {
        return failure(0, "a readable scenario file", "a file that cannot be read");
    }
    return runScenarioText(text, ports);
}

std::string reportLine(const std::string& file, const FileResult& result) {
    if (result.passed) {
        return "PASS " + file;
    }
    return "FAIL " + file + ":" + std::to_string(result.line) + ": " + result.expectation +
           " — found " + result.found;
}
