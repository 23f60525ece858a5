#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

namespace test_support {

// Runs the Qt event loop of this thread until `condition` holds; false when `timeoutMs` passed
// first. Queued signals (a sound server's events, posted commands) are delivered meanwhile.
inline bool pumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// Runs the event loop for `milliseconds`.
inline void pumpFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    pumpUntil([&] { return timer.elapsed() >= milliseconds; }, milliseconds + 1000);
}

}  // namespace test_support
