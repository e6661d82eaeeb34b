// The process-wide handler guard: a count of running handlers and a stack of the modal
// dialogs opened from inside them.
#include "HandlerGuard.h"

#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace handler_guard {
namespace {

struct Level {
    const QWidget* dialog;
    int runningBelow;  // handlers running when the dialog was opened
};

int g_running = 0;
int g_commands = 0;                    // of g_running, those that are not ticks
std::vector<const QWidget*> g_owners;  // the dialog of each running handler, innermost last
std::vector<Level> g_levels;

std::vector<std::function<void()>>& idleListeners() {
    static std::vector<std::function<void()>> listeners;
    return listeners;
}

}  // namespace

bool mayStart(const QWidget* dialog) {
    if (g_levels.empty()) {
        return g_running == 0;
    }
    const Level& top = g_levels.back();
    if (g_running != top.runningBelow) {
        return false;  // a handler of the top modal dialog is already running
    }
    return dialog == top.dialog || (dialog != nullptr && top.dialog->isAncestorOf(dialog));
}

bool anyRunning() {
    return g_running > 0;
}

bool commandRunning() {
    return g_commands > 0;
}

void onIdle(std::function<void()> listener) {
    idleListeners().push_back(std::move(listener));
}

bool mayTick(const QWidget* dialog) {
    if (std::find(g_owners.begin(), g_owners.end(), dialog) != g_owners.end()) {
        return false;
    }
    return g_running == 0 || (!g_levels.empty() && g_running == g_levels.back().runningBelow);
}

Running::Running(const QWidget* owner, Kind kind) : m_kind(kind) {
    ++g_running;
    g_commands += kind == Kind::Command ? 1 : 0;
    g_owners.push_back(owner);
}

Running::~Running() {
    --g_running;
    g_commands -= m_kind == Kind::Command ? 1 : 0;
    g_owners.pop_back();
    if (g_running == 0) {
        const auto& listeners = idleListeners();
        for (std::size_t i = 0; i < listeners.size(); ++i) {  // a listener may add one
            listeners[i]();
        }
    }
}

ModalLevel::ModalLevel(const QWidget* dialog) {
    if (g_running > 0 && dialog != nullptr) {
        g_levels.push_back({dialog, g_running});
        m_pushed = true;
    }
}

ModalLevel::~ModalLevel() {
    if (m_pushed) {
        g_levels.pop_back();
    }
}

}  // namespace handler_guard
