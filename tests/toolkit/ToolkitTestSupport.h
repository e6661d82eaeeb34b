// Helpers shared by the toolkit tests: the template builders, waiting on the event loop,
// and a message sink that records.
#pragma once

#include <vector>

#include "Dialog.h"
#include "EventLoop.h"
#include "MessageBox.h"
#include "TemplateBuilders.h"

// Installs a recording sink for its lifetime and restores the GUI's default afterwards.
class RecordingSink {
  public:
    RecordingSink() {
        setMessageSink([this](const MessageBoxEvent& e) { events.push_back(e); });
    }
    ~RecordingSink() { setMessageSink({}); }
    RecordingSink(const RecordingSink&) = delete;
    RecordingSink& operator=(const RecordingSink&) = delete;

    std::vector<MessageBoxEvent> events;
};

// Restores the process-wide modal hook whatever a test does.
struct ModalHookReset {
    ModalHookReset() = default;
    ~ModalHookReset() { CDialog::setModalHook({}); }
    ModalHookReset(const ModalHookReset&) = delete;
    ModalHookReset& operator=(const ModalHookReset&) = delete;
};
