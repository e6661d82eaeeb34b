// Benchmark: how long a click on "停止读取" takes to stop a continuous reading while the
// device misbehaves in each of its ways (and while it ignores the address set), on a line
// paced like 9600 baud. The click comes at several moments of a tick, as the window system
// delivers it; the figure is the time from the click to the idle caption and closed port.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "BankDataPage.h"
#include "CellPage.h"
#include "DeviceServer.h"
#include "EventLoop.h"
#include "LinkSettings.h"
#include "SerialPort.h"
#include "Strings.h"
#include "ids/BankIds.h"
#include "ids/CellIds.h"

namespace {

struct Misbehaviour {
    const char* name;
    FaultKind kind;
    bool otherAddress;  // the device is set to another address: it stays silent
};
const Misbehaviour kMisbehaviours[] = {
    {"other address", FaultKind::Silent, true}, {"silent", FaultKind::Silent, false},
    {"short", FaultKind::Short, false},         {"long", FaultKind::Long, false},
    {"bad CRC", FaultKind::BadCrc, false},      {"exception", FaultKind::Exception, false},
    {"late", FaultKind::Late, false},           {"garbage", FaultKind::Garbage, false},
};
// After the start: the first tick begins at 500 ms; these fall early and late in a tick.
const int kClickAtMs[] = {520, 1000, 1450};

void operatorClick(QWidget* button) {
    const QPoint at = button->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(button, &event);
    }
}

// Milliseconds from the click to the stopped reading; -1 when it did not stop in 10 s.
qint64 stopLatency(DeviceServer& device, CReadingPage& page, int startStop, const Misbehaviour& how,
                   int clickAtMs) {
    device.clearFaults();
    device.injectFault(how.kind, 100000);
    LinkSettings::deviceAddress = how.otherAddress ? 2 : 1;
    page.clickControl(startStop);
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    qint64 stoppedAt = -1;
    QTimer::singleShot(clickAtMs, &page, [&] {
        clickedAt = clock.elapsed();
        operatorClick(page.control(startStop));
    });
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (clickedAt >= 0 && stoppedAt < 0 && LinkSettings::portHandle == nullptr &&
            page.windowText(startStop) == kStartReadingCaption) {
            stoppedAt = clock.elapsed();
        }
    });
    clock.start();
    probe.start(1);
    runEventsUntil([&] { return stoppedAt >= 0; }, clickAtMs + 10000);
    if (stoppedAt < 0) {
        page.clickControl(startStop);
        return -1;
    }
    return stoppedAt - clickedAt;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    DeviceServer device;
    if (!device.start()) {
        std::fprintf(stderr, "no simulated device\n");
        return 1;
    }
    device.setPaceBaud(9600);
    setPortPath(1, device.path());
    LinkSettings::portNumber = 1;
    LinkSettings::baudRate = 9600;

    CBankDataPage bank;
    CVoltagePage voltage;
    struct Page {
        const char* name;
        CReadingPage* page;
        int startStop;
    } pages[] = {{"bank page (247-byte reply)", &bank, idc::bank::kStartStop},
                 {"voltage page (85-byte reply)", &voltage, idc::cell::kStartStop}};

    qint64 worst = 0;
    for (const Page& p : pages) {
        p.page->create(nullptr);
        p.page->show();
        for (const Misbehaviour& how : kMisbehaviours) {
            qint64 longest = 0;
            for (int at : kClickAtMs) {
                const qint64 latency = stopLatency(device, *p.page, p.startStop, how, at);
                longest = latency < 0 ? 10000 : std::max(longest, latency);
            }
            std::printf("%-30s %-14s longest stop %5lld ms\n", p.name, how.name,
                        static_cast<long long>(longest));
            worst = std::max(worst, longest);
        }
        p.page->hide();
    }
    std::printf("worst stop latency at 9600 baud: %lld ms  (target <= 1100 ms)\n",
                static_cast<long long>(worst));
    return worst <= 1100 ? 0 : 1;
}
