// Helpers shared by the toolkit tests: compact template rows, waiting on the event loop
// with a generous bound, and a message sink that records.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Dialog.h"
#include "DialogTemplate.h"
#include "MessageBox.h"

inline ControlTemplate ctl(ControlKind kind, int id, std::string caption, GridCell cell,
                           unsigned style = 0, int frame = 0) {
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.caption = std::move(caption);
    c.cell = cell;
    c.style = style;
    c.frame = frame;
    return c;
}

inline ControlTemplate dropList(int id, GridCell cell, std::vector<std::string> items,
                                unsigned style = 0) {
    ControlTemplate c = ctl(ControlKind::DropList, id, "", cell, style);
    c.items = std::move(items);
    return c;
}

inline ControlTemplate groupBox(int id, std::string caption, GridCell cell, int frameKey,
                                int frame = 0) {
    ControlTemplate c = ctl(ControlKind::GroupBox, id, std::move(caption), cell, 0, frame);
    c.frameKey = frameKey;
    return c;
}

// Runs the event loop until `done` holds or `limitMs` passes; returns whether it held.
inline bool waitUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Runs the event loop for about `ms` milliseconds.
inline void spinFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

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
