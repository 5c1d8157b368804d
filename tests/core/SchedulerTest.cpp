#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/Scheduler.h"
#include "core_test_util.h"

using namespace tolvane;
using namespace std::chrono_literals;

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Records every ring; settles it like the ring window would; can hold a ring open.
class RecordingPresenter : public RingPresenter {
public:
    Scheduler* scheduler = nullptr;
    std::function<void(const PendingAlarm&)> whileOpen;  // runs while the ring is "open"

    void Ring(const PendingAlarm& alarm) override {
        FiredTask fired;
        if (scheduler) fired = scheduler->SettleFiredTask(alarm);
        if (whileOpen) whileOpen(alarm);
        std::lock_guard lock(mutex_);
        rings_.push_back({alarm, fired});
    }
    struct Rung { PendingAlarm alarm; FiredTask fired; };
    std::vector<Rung> rings() const {
        std::lock_guard lock(mutex_);
        return rings_;
    }
    size_t count() const { return rings().size(); }

private:
    mutable std::mutex mutex_;
    std::vector<Rung> rings_;  // guarded by mutex_
};

// Wednesday 9 December 2026.
const QDate kWednesday(2026, 12, 9);

struct Fixture {
    test::TempStore t;
    platform::FakeClock clock{QDateTime(kWednesday, QTime(9, 0, 0))};
    RecordingPresenter presenter;
    std::unique_ptr<Scheduler> scheduler;
    bool started = false;

    Fixture() {
        scheduler = std::make_unique<Scheduler>(t.store, clock, presenter, 5ms);
        presenter.scheduler = scheduler.get();
    }
    void add(const QByteArray& b, TimeTriple time, const QString& d = QStringLiteral("0")) {
        ASSERT_TRUE(t.store.AddRecord(test::Task(b, time, d)));
    }
    // Starts a scan and waits until it has rebuilt the list.
    void scan() {
        const uint64_t before = scheduler->scansCompleted();
        ASSERT_TRUE(WaitUntil([&] { return !scheduler->workerRunning(1); }));
        if (started) {
            scheduler->RescanTasks();
        } else {
            scheduler->Start();  // the day watcher and the first scan
            started = true;
        }
        ASSERT_TRUE(WaitUntil([&] { return scheduler->scansCompleted() > before && !scheduler->workerRunning(1); }));
    }
    std::vector<int> pendingRecords() const {
        std::vector<int> r;
        for (const auto& a : scheduler->pendingAlarms()) r.push_back(a.record);
        return r;
    }
    int chosenRecord() const {
        auto a = scheduler->chosenAlarm();
        return a ? a->record : 0;
    }
};

}  // namespace

TEST(Scheduler, FirstScanOfAnEmptyStoreEndsIdle) {
    Fixture f;
    f.scan();
    EXPECT_TRUE(f.pendingRecords().empty());
    EXPECT_EQ(f.scheduler->schedulerState(), 0);
}

TEST(Scheduler, ScanKeepsTasksDueTodayWhoseSecondHasNotPassed) {
    Fixture f;
    f.clock.set(QDateTime(kWednesday, QTime(10, 0, 0)));
    struct Case { QByteArray b; TimeTriple time; bool due; const char* why; };
    const Case cases[] = {
        {test::Daily(), {10, 0, 0}, true, "the current second is still due"},
        {test::Daily(), {9, 59, 59}, false, "a passed second"},
        {test::Daily(false), {11, 0, 0}, false, "disabled"},
        {test::Once(), {23, 59, 59}, true, "once"},
        {test::Weekly({1, 4}), {11, 0, 0}, true, "weekly on Sunday and Wednesday, today Wednesday"},
        {test::Weekly({5}), {11, 0, 0}, false, "weekly on Thursday"},
        {test::Monthly({9}), {11, 0, 0}, true, "monthly on the 9th"},
        {test::Monthly({31}), {11, 0, 0}, false, "monthly on the 31st"},
        {QByteArray("\x01\x02", 2), {11, 0, 0}, false, "weekly without day flags"},
        {QByteArray("\x07\x06", 2), {11, 0, 0}, true, "any non-zero enabled byte, delayed type"},
    };
    std::vector<int> expected;
    int n = 2;
    for (const Case& c : cases) {
        f.add(c.b, c.time);
        if (c.due) expected.push_back(n);
        ++n;
    }
    f.add(test::Daily(), {12, 0, 0});
    f.t.store.DeleteRecord(n);  // deleted: never planned
    f.scan();
    // Record 2, due this very second, rings at once; the rest wait. The default record 1 is
    // never planned without a countdown.
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
    EXPECT_EQ(f.presenter.rings()[0].alarm.record, 2);
    expected.erase(expected.begin());
    ASSERT_TRUE(WaitUntil([&] { return f.pendingRecords() == expected; }));
    EXPECT_TRUE(WaitUntil([&] { return f.chosenRecord() == 11; }));  // of the 11:00 tie, the last

    f.clock.set(QDateTime(kWednesday.addDays(21), QTime(9, 0, 0)));  // 30 Dec, a Wednesday
    f.scan();
    // Weekly still due, monthly for the 9th not, and not the 31st on the 30th either.
    EXPECT_EQ(f.pendingRecords(), (std::vector<int>{2, 3, 5, 6, 11}));
}

TEST(Scheduler, ChoiceTakesTheNearestAndTheLastOfATie) {
    Fixture f;
    f.add(test::Daily(), {11, 0, 0});  // 2
    f.add(test::Daily(), {10, 0, 0});  // 3
    f.add(test::Daily(), {10, 0, 0});  // 4
    f.add(test::Daily(), {10, 30, 0}); // 5
    f.scan();
    EXPECT_EQ(f.chosenRecord(), 4);
}

TEST(Scheduler, RingsAtTheSecondAndThenTheNextAlarm) {
    Fixture f;
    f.add(test::Daily(), {10, 0, 0}, QStringLiteral("1开会"));  // 2
    f.add(test::Daily(), {11, 0, 0});                           // 3
    f.scan();
    EXPECT_EQ(f.chosenRecord(), 2);
    f.clock.set(9, 59, 59);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 0u);
    f.clock.set(10, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
    const auto rung = f.presenter.rings();
    EXPECT_EQ(rung[0].alarm.record, 2);
    EXPECT_TRUE(rung[0].fired.hasPrompt);
    EXPECT_EQ(rung[0].fired.prompt, "开会");
    ASSERT_TRUE(WaitUntil([&] { return f.chosenRecord() == 3; }));
    EXPECT_EQ(f.pendingRecords(), (std::vector<int>{3}));
    EXPECT_TRUE(WaitUntil([&] { return f.scheduler->schedulerState() == 2; }));
    // A daily task stays in the store; nothing else rings before its second.
    EXPECT_FALSE(f.t.store.IsDeleted(2));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 1u);
}

TEST(Scheduler, FiredOnceTaskIsDeleted) {
    Fixture f;
    f.add(test::Once(), {9, 0, 0});
    f.scan();
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
    EXPECT_TRUE(f.t.store.IsDeleted(2));
    EXPECT_FALSE(f.presenter.rings()[0].fired.hasPrompt);
}

// A second jumped over (suspend, clock set forward) still rings, once, when it is seen.
TEST(Scheduler, JumpedOverSecondRingsOnce) {
    Fixture f;
    f.add(test::Daily(), {10, 0, 0});
    f.scan();
    f.clock.set(10, 0, 7);
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(f.presenter.count(), 1u);
}

// Two tasks at one second: the second rings after the first ring window closes, even though
// its second has passed meanwhile.
TEST(Scheduler, AlarmWhoseSecondPassedDuringARingStillRings) {
    Fixture f;
    f.add(test::Daily(), {10, 0, 0});  // 2
    f.add(test::Daily(), {10, 0, 0});  // 3
    f.scan();
    f.presenter.whileOpen = [&](const PendingAlarm&) { f.clock.advanceMs(5000); };
    f.clock.set(10, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 2; }));
    const auto rung = f.presenter.rings();
    EXPECT_EQ(rung[0].alarm.record, 3);
    EXPECT_EQ(rung[1].alarm.record, 2);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 2u);
}

// An alarm of an earlier day is not rung late: the plan is rebuilt for the new day instead.
TEST(Scheduler, AlarmOfAnEarlierDayIsNotRungLate) {
    Fixture f;
    f.add(test::Daily(), {10, 0, 0});
    f.scan();
    f.clock.set(QDateTime(kWednesday.addDays(1), QTime(11, 0, 0)));
    ASSERT_TRUE(WaitUntil([&] { return f.pendingRecords().empty(); }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 0u);
}

// Daily tasks keep ringing across midnight without any change of tasks.
TEST(Scheduler, NewDayIsPlannedByItself) {
    Fixture f;
    f.clock.set(QDateTime(kWednesday, QTime(23, 59, 58)));
    f.add(test::Daily(), {0, 0, 5});
    f.scan();
    EXPECT_TRUE(f.pendingRecords().empty());
    f.clock.set(QDateTime(kWednesday.addDays(1), QTime(0, 0, 1)));
    ASSERT_TRUE(WaitUntil([&] { return f.pendingRecords() == std::vector<int>{2}; }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 0u);
    f.clock.set(0, 0, 5);
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
}

// Records move after a purge; the ring still shows and deletes the very task that fired.
TEST(Scheduler, PurgeBetweenScanAndRingKeepsTheRightTask) {
    Fixture f;
    f.add(test::Once(), {12, 0, 0}, QStringLiteral("1别的"));  // 2
    f.add(test::Once(), {10, 0, 0}, QStringLiteral("1目标"));  // 3
    f.add(test::Once(), {11, 0, 0}, QStringLiteral("1后面"));  // 4
    f.scan();
    ASSERT_EQ(f.chosenRecord(), 3);
    f.t.store.DeleteRecord(2);
    ASSERT_TRUE(f.t.store.Purge());
    f.clock.set(10, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
    const auto rung = f.presenter.rings()[0];
    EXPECT_EQ(rung.fired.prompt, "目标");
    EXPECT_EQ(rung.alarm.record, 2);  // its number after the purge
    EXPECT_TRUE(f.t.store.IsDeleted(2));
    EXPECT_FALSE(f.t.store.IsDeleted(3));
    EXPECT_EQ(f.t.store.ReadD(3), "1后面");
}

TEST(Scheduler, DeletedTaskDoesNotRing) {
    Fixture f;
    f.add(test::Daily(), {10, 0, 0});
    f.scan();
    f.t.store.DeleteRecord(2);
    f.clock.set(10, 0, 0);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(f.presenter.count(), 0u);
}

// Countdown set to 0:05:00 at 14:00 rings at 00:05:00; until then no other task rings, and
// after it the other tasks are planned again.
TEST(Scheduler, CountdownRingsAloneThenOtherTasksResume) {
    Fixture f;
    f.clock.set(14, 0, 0);
    f.add(test::Daily(), {14, 0, 1});  // 2
    f.add(test::Daily(), {0, 10, 0});  // 3
    ASSERT_TRUE(f.t.store.UpdateRecord(1, test::Task(QByteArray("\x01\x05", 2), {0, 5, 0}, "1倒计时")));
    f.scheduler->setCountdownFlag(1);
    f.scan();
    EXPECT_EQ(f.pendingRecords(), (std::vector<int>{1}));
    f.clock.set(14, 0, 2);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 0u);  // neither the countdown (tomorrow) nor task 2

    f.clock.set(QDateTime(kWednesday.addDays(1), QTime(0, 4, 59)));
    ASSERT_TRUE(WaitUntil([&] { return f.scheduler->scansCompleted() >= 2 && !f.scheduler->workerRunning(1); }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(f.presenter.count(), 0u);
    f.clock.set(0, 5, 0);
    ASSERT_TRUE(WaitUntil([&] { return f.presenter.count() == 1; }));
    EXPECT_EQ(f.presenter.rings()[0].alarm.record, 1);
    EXPECT_EQ(f.presenter.rings()[0].alarm.type, kCountdown);
    EXPECT_EQ(f.presenter.rings()[0].fired.prompt, "倒计时");
    EXPECT_EQ(f.scheduler->countdownFlag(), 0);
    ASSERT_TRUE(WaitUntil([&] { return f.pendingRecords() == std::vector<int>{2, 3}; }));
    EXPECT_EQ(f.chosenRecord(), 3);
}

TEST(Scheduler, PurgeDeletedTasksRemovesMarkedRecords) {
    Fixture f;
    f.add(test::Daily(), {1, 0, 0});
    f.add(test::Daily(), {2, 0, 0});
    f.t.store.DeleteRecord(2);
    f.scheduler->PurgeDeletedTasks();
    EXPECT_EQ(f.t.store.RecordCount(), 2);
    EXPECT_EQ(f.t.store.ReadC(2), QByteArray("\x02\x00\x00", 3));
}

// Rescans, purges and adds race a waiting worker and rings; everything stays consistent.
TEST(Scheduler, StressRescansPurgesAndAddsAgainstWaitingWorker) {
    Fixture f;
    for (int i = 0; i < 20; ++i) f.add(i % 2 ? test::Daily() : test::Once(), {9, 0, i * 3});
    f.scan();
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        while (!stop) { f.scheduler->RescanTasks(); std::this_thread::sleep_for(1ms); }
    });
    threads.emplace_back([&] {
        for (int i = 0; !stop; ++i) {
            (void)f.t.store.AddRecord(test::Task(test::Once(), {9, 1, i % 60}, "1加"));
            f.t.store.DeleteRecord(2 + i % std::max(1, f.t.store.RecordCount() - 1));
            f.scheduler->PurgeDeletedTasksAsync();
            std::this_thread::sleep_for(1ms);
        }
    });
    threads.emplace_back([&] {
        while (!stop) { (void)f.scheduler->chosenAlarm(); (void)f.scheduler->pendingAlarms(); }
    });
    for (int s = 0; s < 120; ++s) {
        f.clock.advanceMs(1000);
        std::this_thread::sleep_for(3ms);
    }
    stop = true;
    for (auto& th : threads) th.join();
    // Every ring names a task that existed; the plan is a valid list.
    for (const auto& r : f.presenter.rings()) EXPECT_GT(r.alarm.key, 0);
    const auto pending = f.scheduler->pendingAlarms();
    const int chosen = f.scheduler->chosenIndex();
    EXPECT_TRUE(pending.empty() || (chosen >= 1 && chosen <= static_cast<int>(pending.size())));
    EXPECT_GT(f.presenter.count(), 0u);
}

namespace {
// A clock whose readings can be held up, to stop a scan half-way.
class GateClock : public platform::Clock {
public:
    platform::FakeClock inner{QDateTime(kWednesday, QTime(9, 0, 0))};
    platform::LocalTime now() const override {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !held_; });
        --waiting_;
        return inner.now();
    }
    void hold() { std::lock_guard lock(mutex_); held_ = true; }
    void release() { { std::lock_guard lock(mutex_); held_ = false; } changed_.notify_all(); }
    void waitForReader() const {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_ > 0; });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool held_ = false;        // guarded by mutex_
    mutable int waiting_ = 0;  // guarded by mutex_
};
}  // namespace

// A task added while a scan is under way is planned: the rescan it asks for is not dropped.
TEST(Scheduler, RescanAskedDuringAScanIsServed) {
    test::TempStore t;
    GateClock clock;
    test::NullPresenter presenter;
    Scheduler scheduler(t.store, clock, presenter, 5ms);
    clock.hold();
    scheduler.RescanTasks();
    clock.waitForReader();  // the scan has read the store and waits for the clock
    ASSERT_TRUE(t.store.AddRecord(test::Task(test::Daily(), {10, 0, 0}, "0")));
    scheduler.RescanTasks();
    clock.release();
    ASSERT_TRUE(WaitUntil([&] { return scheduler.pendingAlarms().size() == 1; }));
    EXPECT_EQ(scheduler.scansCompleted(), 2u);
}
