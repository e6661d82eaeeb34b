// What each kind of scenario step does to the session. Every function returns nothing
// when the step held, or what was found instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ScenarioParser.h"

class CDialog;
class QWidget;
class ScenarioSession;

using StepFailure = std::optional<std::string>;

StepFailure runAction(ScenarioSession& session, const Step& step);     // operator input
StepFailure checkControl(ScenarioSession& session, const Step& step);  // one control
StepFailure checkWindow(ScenarioSession& session, const Step& step);   // tab, slot, link
StepFailure checkMessages(ScenarioSession& session, const Step& step);
StepFailure runDeviceStep(ScenarioSession& session, const Step& step);  // device, requests

// Shared by the step files.
std::string quoted(std::string_view text);
// Control `id` of `window`, or what was found instead.
StepFailure findControl(const CDialog* window, int id, QWidget*& control);
