// Event loop runs of a given length.
#include "EventLoop.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void runEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool runEventsUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) {
        runEventsFor(20);
    }
    return done();
}
