#include "core/LoggingRingPresenter.h"

#include <cstdio>

namespace tolvane {

void LoggingRingPresenter::Ring(const PendingAlarm& alarm) {
    Scheduler* scheduler = scheduler_.load();
    if (!scheduler) return;
    const FiredTask fired = scheduler->SettleFiredTask(alarm);
    const QString text = fired.hasPrompt ? fired.prompt : QStringLiteral("时间到了");
    std::fprintf(stderr, "TolvaneTVX: ring %s task %d: %s\n",
                 qPrintable(ClockHelper::TripleText(alarm.time, QStringLiteral(":"), true)), fired.record,
                 text.toUtf8().constData());
    scheduler->PurgeDeletedTasksAsync();
}

}  // namespace tolvane
