#pragma once
// Shared by the ring window tests: a wait that keeps the event loop turning, and a scheduler
// (never started) over a task store in a temporary folder with a fake clock.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <thread>

#include "core/core_test_util.h"
#include "ring/RingWindow.h"

namespace tolvane::test {

// Turns the event loop (deferred deletes included) until `done` holds; false after `ms`.
inline bool SpinUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct RingStoreFixture {
    TempStore t;
    platform::FakeClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0, 5))};
    NullPresenter null;
    Scheduler scheduler{t.store, clock, null};

    // A ring window context over this scheduler and clock with a fast poll; the caller adds
    // the sounds, the shake setting and the player.
    RingWindowContext BaseContext() {
        RingWindowContext c;
        c.scheduler = &scheduler;
        c.clock = &clock;
        c.poll = std::chrono::milliseconds(5);
        return c;
    }
};

}  // namespace tolvane::test
