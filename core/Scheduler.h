#pragma once
// The scheduler: plans the rest of the current day from the task store and rings each due
// task at its second.
//
// Workers: a scan rebuilds the pending list and runs the choice; the choice picks the
// nearest pending alarm and starts the wait; the wait polls the clock and hands a due alarm
// to the RingPresenter, blocking until it is dismissed. At most one worker of each kind runs
// (the worker gate); a request for a running kind is dropped, except that a rescan asked
// for during a scan is served by one more scan after it. A day watcher rescans when the
// local date changes or the clock is set back, so daily tasks keep ringing across midnight.
//
// The pending list and the chosen index are guarded by one lock; readers get copies, so no
// reader sees a list being rebuilt or reads past its end. Workers never touch widgets; the
// presenter decides how to reach the user-interface thread.
#include <QDate>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/ClockHelper.h"
#include "core/TaskStore.h"
#include "platform/Clock.h"

namespace tolvane {

struct PendingAlarm {
    int32_t record = 0;   // record number when scanned (may move after a purge; see key)
    uint8_t type = 0;     // B[1] of the record when scanned; 5 or 6 for the countdown slot
    TimeTriple time;      // ring time, from field C
    qint64 key = 0;       // the record's stable key: names the same task after any purge
    QDate dueDate;        // the day on which this alarm rings
};

// What the wait worker hands a due alarm to.
// Contract: Ring is called on the wait worker's thread, never on the user-interface thread,
// and returns only when the ring has been dismissed. Once `Abort` has been called it must
// return promptly (the program is ending).
class RingPresenter {
public:
    virtual ~RingPresenter() = default;
    virtual void Ring(const PendingAlarm& alarm) = 0;
    virtual void Abort() {}
};

// What a ring shows of its task, after the fired task has been settled.
struct FiredTask {
    int record = 0;          // current number of the task (0 if it is gone)
    bool hasPrompt = false;  // D does not start with "0" (an empty D has an empty prompt)
    QString prompt;          // D from its second character on
};

class Scheduler {
public:
    // The store, clock and presenter must outlive the scheduler. `poll` is the wait worker's
    // and the day watcher's period.
    Scheduler(TaskStore& store, const platform::Clock& clock, RingPresenter& presenter,
              std::chrono::milliseconds poll = std::chrono::milliseconds(250));
    // Asks every worker to stop, aborts the presenter and joins all threads.
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Creates task.edb with its default record when it is missing; otherwise does nothing.
    void EnsureTaskStore();
    // Sets the state to idle, starts the day watcher and the first scan.
    void Start();
    // Asks for a scan; returns at once. Any thread. At most one scan runs at a time; a request
    // made while one runs is served by one more scan right after it.
    void RescanTasks();
    // Purges deleted records unless a purge started here is running. Runs on the calling
    // thread; PurgeDeletedTasksAsync runs it on a worker and returns at once.
    void PurgeDeletedTasks();
    void PurgeDeletedTasksAsync();

    // Settles a fired task for its ring: reads its prompt, deletes it when it is a once task,
    // and ends the countdown when it is the countdown slot. Any thread.
    FiredTask SettleFiredTask(const PendingAlarm& alarm);

    // 0 none, 1 a countdown is pending in record 1, 2 a delayed ring.
    uint8_t countdownFlag() const { return countdownFlag_.load(); }
    void setCountdownFlag(uint8_t value) { countdownFlag_.store(value); }
    // 0 idle, 1 scanning or choosing, 2 waiting, 4 asks the wait worker to stop.
    uint8_t schedulerState() const { return schedulerState_.load(); }
    void setSchedulerState(uint8_t value);

    // Copies of the shared values (taken under their lock).
    std::vector<PendingAlarm> pendingAlarms() const;
    int32_t chosenIndex() const;
    std::optional<PendingAlarm> chosenAlarm() const;
    // Whether a worker of kind k (1 scan, 2 choice, 3 wait) is running.
    bool workerRunning(int kind) const { return gate_[kind - 1].load(); }
    // Number of scans that have completed (for callers that wait for a rescan's effect).
    uint64_t scansCompleted() const { return scansCompleted_.load(); }

    // The plan a scan makes from the rows of the store at `now`: the alarms still due on that
    // day (a countdown: only the countdown slot), in increasing record order. Pure.
    static std::vector<PendingAlarm> Plan(const std::vector<TaskRow>& rows, const platform::LocalTime& now,
                                          uint8_t countdown);

private:
    bool TryStart(int kind, std::function<void()> body);
    void Spawn(std::function<void()> body);
    void Scan();
    void ScanOnce();
    void Choose();
    bool ChooseLocked();  // listMutex_ held; false when the list is empty
    void Wait();
    void WatchDay();
    bool SleepPoll();  // false when stopping

    TaskStore& store_;
    const platform::Clock& clock_;
    RingPresenter& presenter_;
    const std::chrono::milliseconds poll_;

    std::atomic<uint8_t> countdownFlag_{0};
    std::atomic<uint8_t> schedulerState_{0};
    std::atomic<bool> gate_[3] = {false, false, false};  // worker gate: test-and-set by exchange
    std::atomic<bool> purgeBusy_{false};
    std::atomic<bool> rescanRequested_{false};  // a scan is owed; consumed by the scan worker
    std::atomic<uint64_t> scansCompleted_{0};

    mutable std::mutex listMutex_;
    std::vector<PendingAlarm> pending_;  // guarded by listMutex_
    int32_t chosenIndex_ = 0;            // guarded by listMutex_; counted from 1
    QDate scanDate_;                     // guarded by listMutex_; the day of the last scan

    std::mutex threadsMutex_;
    std::condition_variable wake_;       // with threadsMutex_: wakes sleeping pollers
    bool stopping_ = false;              // guarded by threadsMutex_
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::list<Worker> workers_;          // guarded by threadsMutex_
};

}  // namespace tolvane
