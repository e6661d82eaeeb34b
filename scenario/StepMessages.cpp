// Expectations on the message boxes a session recorded: read oldest first, each once.
#include "ScenarioSession.h"
#include "ScenarioSteps.h"

namespace {

// Page boxes have an owner and no icon; the application box has neither owner nor page.
std::string describe(const MessageBoxEvent& event) {
    const bool warning = event.icon == MessageIcon::Warning;
    if (warning == (event.owner == nullptr)) {
        return (warning ? "warning " : "message ") + quoted(event.text);
    }
    return "box " + quoted(event.text) +
           (warning ? " with a warning icon and an owner" : " with neither icon nor owner");
}

std::string unread(const ScenarioSession& session) {
    const size_t left = session.messages.size() - session.messagesRead;
    std::string text = "unread " + describe(session.messages[session.messagesRead]);
    if (left > 1) {
        text += " (+" + std::to_string(left - 1) + " more)";
    }
    return text;
}

}  // namespace

StepFailure checkMessages(ScenarioSession& session, const Step& step) {
    const bool anyUnread = session.messagesRead < session.messages.size();
    if (step.op == StepOp::ExpectNoMessage) {
        return anyUnread ? StepFailure(unread(session)) : std::nullopt;
    }
    if (!anyUnread) {
        return std::string("no unread message box");
    }
    const MessageBoxEvent& oldest = session.messages[session.messagesRead];
    const std::string wanted =
        (step.op == StepOp::ExpectWarning ? "warning " : "message ") + quoted(step.text);
    if (describe(oldest) != wanted) {
        return describe(oldest);
    }
    ++session.messagesRead;
    return std::nullopt;
}
