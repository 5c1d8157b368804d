#include "core/Scheduler.h"

#include <QDateTime>

namespace tolvane {
namespace {

constexpr int kScan = 1, kChoice = 2, kWait = 3;

// B[index], or 0 when B is too short to hold it.
unsigned char ByteAt(const QByteArray& b, int index) {
    return index >= 0 && index < b.size() ? static_cast<unsigned char>(b.at(index)) : 0;
}

bool DueToday(const QByteArray& b, const platform::LocalTime& now) {
    if (ByteAt(b, 0) == 0) return false;
    switch (ByteAt(b, 1)) {
        case kWeekly: return ByteAt(b, now.dayOfWeek() + 1) != 0;
        case kMonthly: return ByteAt(b, now.date.day() + 1) != 0;
        default: return true;
    }
}

int SecondsOf(const QTime& t) { return t.hour() * 3600 + t.minute() * 60 + t.second(); }

}  // namespace

Scheduler::Scheduler(TaskStore& store, const platform::Clock& clock, RingPresenter& presenter,
                     std::chrono::milliseconds poll)
    : store_(store), clock_(clock), presenter_(presenter), poll_(poll) {}

Scheduler::~Scheduler() {
    std::list<Worker> workers;
    {
        std::lock_guard lock(threadsMutex_);
        stopping_ = true;
    }
    schedulerState_.store(4);
    wake_.notify_all();
    presenter_.Abort();
    {
        std::lock_guard lock(threadsMutex_);
        workers.swap(workers_);
    }
    for (Worker& w : workers)
        if (w.thread.joinable()) w.thread.join();
}

void Scheduler::EnsureTaskStore() {
    if (store_.Exists()) return;
    (void)store_.Create();
    (void)store_.Open();
    (void)store_.AddRecord({QByteArray(2, '\0'), QByteArray(3, '\0'), QStringLiteral("0"), QStringLiteral("0|1|")});
}

void Scheduler::Start() {
    schedulerState_.store(0);
    Spawn([this] { WatchDay(); });
    RescanTasks();
}

void Scheduler::RescanTasks() {
    // A request while a scan runs is remembered, not dropped: that scan may have read the
    // store before the change that asked for it, and the task would then not be planned.
    rescanRequested_.store(true);
    TryStart(kScan, [this] { Scan(); });
}

void Scheduler::setSchedulerState(uint8_t value) {
    schedulerState_.store(value);
    wake_.notify_all();
}

void Scheduler::PurgeDeletedTasks() {
    if (purgeBusy_.exchange(true)) return;
    store_.Purge();
    purgeBusy_.store(false);
}

void Scheduler::PurgeDeletedTasksAsync() { Spawn([this] { PurgeDeletedTasks(); }); }

FiredTask Scheduler::SettleFiredTask(const PendingAlarm& alarm) {
    FiredTask fired;
    const QString d = store_.ReadDOfKey(alarm.key);
    fired.record = store_.NumberOfKey(alarm.key);
    // A leading "0" asks for the plain "time is up" text; anything else (an empty D too)
    // shows D from its second character on.
    if (!d.startsWith(QLatin1Char('0'))) {
        fired.hasPrompt = true;
        fired.prompt = d.mid(1);
    }
    if (alarm.type == kOnce) (void)store_.DeleteKey(alarm.key);
    if (alarm.type == kCountdown || alarm.type == kDelayed) countdownFlag_.store(0);
    return fired;
}

std::vector<PendingAlarm> Scheduler::pendingAlarms() const {
    std::lock_guard lock(listMutex_);
    return pending_;
}

int32_t Scheduler::chosenIndex() const {
    std::lock_guard lock(listMutex_);
    return chosenIndex_;
}

std::optional<PendingAlarm> Scheduler::chosenAlarm() const {
    std::lock_guard lock(listMutex_);
    if (chosenIndex_ < 1 || chosenIndex_ > static_cast<int32_t>(pending_.size())) return std::nullopt;
    return pending_[chosenIndex_ - 1];
}

bool Scheduler::TryStart(int kind, std::function<void()> body) {
    std::atomic<bool>& gate = gate_[kind - 1];
    if (gate.exchange(true)) return false;
    {
        std::lock_guard lock(threadsMutex_);
        if (stopping_) {
            gate.store(false);
            return false;
        }
    }
    Spawn(std::move(body));
    return true;
}

void Scheduler::Spawn(std::function<void()> body) {
    std::lock_guard lock(threadsMutex_);
    if (stopping_) return;
    // Join the threads that have finished, so the list stays short over a long run.
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers_.push_back({std::thread([body = std::move(body), done] {
                            body();
                            done->store(true);
                        }),
                        done});
}

bool Scheduler::SleepPoll() {
    std::unique_lock lock(threadsMutex_);
    return !wake_.wait_for(lock, poll_, [this] { return stopping_; });
}

void Scheduler::Scan() {
    while (rescanRequested_.exchange(false)) ScanOnce();
    gate_[kScan - 1].store(false);
    // A request that came after the last check and found the gate closed.
    if (rescanRequested_.load()) TryStart(kScan, [this] { Scan(); });
}

void Scheduler::ScanOnce() {
    schedulerState_.store(1);
    (void)store_.Open();
    const std::vector<TaskRow> rows = store_.Snapshot();
    const platform::LocalTime now = clock_.now();
    std::vector<PendingAlarm> list = Plan(rows, now, countdownFlag_.load());

    bool chosen = false;
    {
        // The list and its choice change together, so a running wait worker never watches
        // an index of the old list in the new one.
        std::lock_guard lock(listMutex_);
        pending_ = std::move(list);
        scanDate_ = now.date;
        chosen = ChooseLocked();
    }
    scansCompleted_.fetch_add(1);
    wake_.notify_all();
    if (!chosen) schedulerState_.store(0);
    if (chosen) TryStart(kWait, [this] { Wait(); });
}

std::vector<PendingAlarm> Scheduler::Plan(const std::vector<TaskRow>& rows, const platform::LocalTime& now,
                                          uint8_t countdown) {
    const int nowSeconds = SecondsOf(now.time);

    std::vector<PendingAlarm> list;
    if (countdown != 0) {
        // Only the countdown slot is planned; its time is a time of day, so a time already
        // past today belongs to tomorrow.
        if (!rows.empty() && rows.front().number == 1 && !rows.front().deleted) {
            const TaskRow& r = rows.front();
            PendingAlarm a{1, static_cast<uint8_t>(countdown == 1 ? kCountdown : kDelayed),
                           ClockHelper::FromBytes(r.C), r.key, now.date};
            if (ClockHelper::SecondsOfDay(a.time) < nowSeconds) a.dueDate = now.date.addDays(1);
            list.push_back(a);
        }
    } else {
        for (const TaskRow& r : rows) {
            if (r.number < 2 || r.deleted || !DueToday(r.B, now)) continue;
            const TimeTriple t = ClockHelper::FromBytes(r.C);
            if (ClockHelper::SecondsOfDay(t) >= nowSeconds)
                list.push_back({r.number, ByteAt(r.B, 1), t, r.key, now.date});
        }
    }

    return list;
}

bool Scheduler::ChooseLocked() {
    // The nearest alarm; of several at the same time the last one wins.
    int best = 0;
    for (int i = 0; i < static_cast<int>(pending_.size()); ++i) {
        const PendingAlarm& a = pending_[i];
        if (best == 0) { best = i + 1; continue; }
        const PendingAlarm& b = pending_[best - 1];
        const bool earlierOrSame = a.dueDate < b.dueDate ||
            (a.dueDate == b.dueDate && ClockHelper::SecondsOfDay(a.time) <= ClockHelper::SecondsOfDay(b.time));
        if (earlierOrSame) best = i + 1;
    }
    if (best == 0) return false;
    chosenIndex_ = best;
    return true;
}

void Scheduler::Choose() {
    schedulerState_.store(1);
    bool chosen = false;
    {
        std::lock_guard lock(listMutex_);
        chosen = ChooseLocked();
    }
    if (chosen) TryStart(kWait, [this] { Wait(); });
}

void Scheduler::Wait() {
    schedulerState_.store(2);
    for (;;) {
        if (schedulerState_.load() == 4) break;
        PendingAlarm alarm;
        QDate scanDate;
        {
            std::lock_guard lock(listMutex_);
            if (chosenIndex_ < 1 || chosenIndex_ > static_cast<int32_t>(pending_.size())) {
                // Nothing left to watch. Opening the gate under the list lock means a choice
                // that fills the list after this point can start a new wait worker.
                gate_[kWait - 1].store(false);
                return;
            }
            alarm = pending_[chosenIndex_ - 1];
            scanDate = scanDate_;
        }
        const platform::LocalTime now = clock_.now();
        // A second that was jumped over (suspend, clock set forward, a long ring) still
        // rings once, as soon as it is seen; an alarm of an earlier day is re-planned instead.
        if (now.date == alarm.dueDate && SecondsOf(now.time) >= ClockHelper::SecondsOfDay(alarm.time)) {
            if (store_.IsLiveKey(alarm.key)) {
                const int current = store_.NumberOfKey(alarm.key);
                if (current > 0) alarm.record = current;
                presenter_.Ring(alarm);
            }
            {
                std::lock_guard lock(listMutex_);
                for (auto it = pending_.begin(); it != pending_.end(); ++it) {
                    if (it->key == alarm.key && it->dueDate == alarm.dueDate) {
                        pending_.erase(it);
                        break;
                    }
                }
            }
            gate_[kWait - 1].store(false);
            if (alarm.type == kCountdown || alarm.type == kDelayed) {
                // The countdown has ended: plan the other tasks again.
                countdownFlag_.store(0);
                RescanTasks();
            } else {
                TryStart(kChoice, [this] {
                    Choose();
                    gate_[kChoice - 1].store(false);
                });
            }
            return;
        }
        if (now.date != scanDate) RescanTasks();
        if (!SleepPoll()) break;
    }
    gate_[kWait - 1].store(false);
}

void Scheduler::WatchDay() {
    // Plain calendar values: comparing them needs no time-zone rules.
    const platform::LocalTime start = clock_.now();
    QDateTime last(start.date, start.time, Qt::UTC);
    while (SleepPoll()) {
        const platform::LocalTime now = clock_.now();
        const QDateTime current(now.date, now.time, Qt::UTC);
        QDate scanDate;
        {
            std::lock_guard lock(listMutex_);
            scanDate = scanDate_;
        }
        // A new day, or the clock set back, makes the plan stale.
        if ((scanDate.isValid() && now.date != scanDate) || current < last.addSecs(-2)) RescanTasks();
        last = current;
    }
}

}  // namespace tolvane
