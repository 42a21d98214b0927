// Runs the Qt event loop of a test until a condition holds or time is up,
// without the polling sleeps of QTest::qWaitFor, so timers fire on time.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

// True when `done` held within `timeout_ms`.
inline bool RunUntil(const std::function<bool()>& done, int timeout_ms) {
    if (done()) return true;
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    check.start(2);
    QTimer::singleShot(timeout_ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Runs the event loop for `ms` milliseconds with no polling at all.
inline void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
