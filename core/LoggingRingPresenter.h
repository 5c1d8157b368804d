#pragma once
// A ring presenter without a window: it settles the fired task and writes one line to
// standard error. Used where no ring window exists (a program run without one).
#include "core/Scheduler.h"

namespace tolvane {

class LoggingRingPresenter final : public RingPresenter {
public:
    // The scheduler is set after construction (it needs the presenter first); it must
    // outlive every ring.
    void setScheduler(Scheduler* scheduler) { scheduler_.store(scheduler); }
    void Ring(const PendingAlarm& alarm) override;

private:
    std::atomic<Scheduler*> scheduler_{nullptr};
};

}  // namespace tolvane
