#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <thread>

#include "FakeMediaPlayer.h"
#include "RingTestSupport.h"
#include "ring/RingWindowPresenter.h"

using namespace tolvane;
using namespace std::chrono_literals;
using test::SpinUntil;

namespace {

struct PresenterFixture : test::RingStoreFixture {
    RingWindowPresenter presenter{Context()};
    PendingAlarm alarm;

    PresenterFixture() {
        EXPECT_TRUE(t.store.AddRecord(test::Task(test::Once(), {9, 0, 0}, QStringLiteral("1喝水"))));
        alarm = PendingAlarm{2, kOnce, {9, 0, 0}, t.store.KeyOf(2), QDate(2026, 12, 9)};
    }
    RingWindowContext Context() {
        RingWindowContext c = BaseContext();
        c.loadSounds = [](QList<AlarmSound>& out) {
            out = {test::Sound(1, 1, "A")};
            return QStringLiteral("0");
        };
        c.windowShake = [] { return false; };
        c.makePlayer = [] {
            auto p = std::make_unique<test::FakeMediaPlayer>();
            p->playForever = true;
            return std::unique_ptr<platform::MediaPlayer>(std::move(p));
        };
        return c;
    }
};

// Clicks "知道了" the way the window system delivers a click, so a window blocked by a modal
// window would not get it.
void ClickOk(RingWindow* window) {
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("按钮_OK"));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ok->geometry().center());
}

}  // namespace

TEST(RingWindowPresenter, RingOpensTheWindowOnTheUiThreadAndBlocksUntilItIsGone) {
    PresenterFixture f;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        f.presenter.Ring(f.alarm);
        returned.store(true);
    });
    ASSERT_TRUE(SpinUntil([&] { return f.presenter.openWindow() != nullptr; }));
    RingWindow* window = f.presenter.openWindow();
    EXPECT_EQ(window->thread(), QThread::currentThread());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::NonModal);  // blocks no other window
    EXPECT_FALSE(f.t.store.IsLiveKey(f.alarm.key));  // settled on opening
    QTest::qWait(150);
    EXPECT_FALSE(returned.load());  // still ringing
    ClickOk(window);
    ASSERT_TRUE(SpinUntil([&] { return returned.load(); }));
    EXPECT_EQ(f.presenter.openWindow(), nullptr);
    worker.join();
}

TEST(RingWindowPresenter, ARingDuringAModalMessageBoxShowsAndCanBeDismissed) {
    PresenterFixture f;
    std::atomic<bool> returned{false};
    std::thread worker;
    bool ringWasClickable = false;
    QMessageBox box(QMessageBox::Information, QStringLiteral("保存任务"), QStringLiteral("保存成功"));
    QTimer::singleShot(0, [&] {
        worker = std::thread([&] {
            f.presenter.Ring(f.alarm);
            returned.store(true);
        });
    });
    QObject::connect(&f.presenter, &RingWindowPresenter::windowShown, &box, [&](RingWindow* window) {
        QTimer::singleShot(50, &box, [&, window] {
            ClickOk(window);  // delivered although the message box is modal
            QTimer::singleShot(0, &box, [&] {
                ringWasClickable = SpinUntil([&] { return returned.load(); }, 2000);
                box.done(0);
            });
        });
    });
    QTimer::singleShot(5000, &box, [&] { box.done(1); });  // never hang the test
    const int result = box.exec();  // the ring arrives while this modal loop runs
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(ringWasClickable);
    worker.join();
}

TEST(RingWindowPresenter, AbortReleasesAWaitingRing) {
    PresenterFixture f;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        f.presenter.Ring(f.alarm);
        returned.store(true);
    });
    ASSERT_TRUE(SpinUntil([&] { return f.presenter.openWindow() != nullptr; }));
    f.presenter.Abort();
    ASSERT_TRUE(SpinUntil([&] { return returned.load(); }, 1000));
    worker.join();
    // After Abort no window is made.
    std::thread again([&] { f.presenter.Ring(f.alarm); });
    again.join();
    QCoreApplication::processEvents();
}

TEST(RingWindowPresenter, TheWaitWorkerOfTheSchedulerRingsThroughIt) {
    test::TempStore t;
    platform::FakeClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 59, 59))};
    PresenterFixture helper;  // for the context builders
    RingWindowContext context = helper.Context();
    RingWindowPresenter presenter{context};
    Scheduler scheduler{t.store, clock, presenter, 10ms};
    context.scheduler = &scheduler;
    context.clock = &clock;
    presenter.setContext(context);
    ASSERT_TRUE(t.store.AddRecord(test::Task(test::Once(), {9, 0, 0}, QStringLiteral("1开会"))));
    const qint64 key = t.store.KeyOf(2);
    scheduler.Start();
    ASSERT_TRUE(SpinUntil([&] { return scheduler.workerRunning(3); }));
    clock.set(9, 0, 0);
    ASSERT_TRUE(SpinUntil([&] { return presenter.openWindow() != nullptr; }));
    EXPECT_FALSE(t.store.IsLiveKey(key));
    ClickOk(presenter.openWindow());
    ASSERT_TRUE(SpinUntil([&] { return presenter.openWindow() == nullptr && !scheduler.workerRunning(3); }));
    ASSERT_TRUE(SpinUntil([&] { return t.store.NumberOfKey(key) == 0; }));
}
