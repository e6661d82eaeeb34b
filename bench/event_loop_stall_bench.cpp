// Benchmark: how long the event loop stalls while the bank page reads continuously from a
// device paced like a 9600-baud line. A 1 ms timer measures the gaps between its ticks for
// 20 s; the longest gap is what a moved or uncovered window waits for its repaint.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "BankDataPage.h"
#include "DeviceServer.h"
#include "EventLoop.h"
#include "LinkSettings.h"
#include "SerialPort.h"
#include "ids/BankIds.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    DeviceServer device;
    if (!device.start()) {
        std::fprintf(stderr, "no simulated device\n");
        return 1;
    }
    device.setPaceBaud(9600);
    setPortPath(1, device.path());
    LinkSettings::portNumber = 1;
    LinkSettings::baudRate = 9600;
    LinkSettings::deviceAddress = 1;

    CBankDataPage page;
    page.create(nullptr);
    page.show();
    page.clickControl(idc::bank::kStartStop);

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    probe.start(1);
    runEventsFor(seconds * 1000);
    page.clickControl(idc::bank::kStartStop);
    std::printf("bank page reading at 9600 baud for %d s: %s reads, %s failed\n", seconds,
                page.windowText(idc::bank::kOkCount).c_str(),
                page.windowText(idc::bank::kFailCount).c_str());
    std::printf("longest event-loop stall: %lld ms  (target <= 20 ms)\n",
                static_cast<long long>(longest));
    return longest <= 20 ? 0 : 1;
}
