#pragma once
// The RingPresenter of the program: the wait worker's ring opens a RingWindow on the
// user-interface thread and waits until that window has been destroyed.
//
// Contract:
// - Make the presenter on the user-interface thread; it lives there. Set the context (with
//   the scheduler) before the scheduler starts.
// - Ring is called on a worker thread (never the user-interface thread). It posts the
//   window's creation to the user-interface thread and blocks until the window is gone or
//   Abort is called. A posted call is also run by the nested event loop of a modal window,
//   so a ring that falls due while a message box or dialog is open still shows. The ring
//   window is never blocked by a modal window that was open before it, and blocks none.
// - When the application is about to quit, an open ring window is closed (its playback
//   stopped) while the scheduler still exists. Abort (the scheduler's destructor) releases a
//   waiting Ring at once; no window is made after it.
#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <mutex>

#include "core/Scheduler.h"
#include "ring/RingWindow.h"

namespace tolvane {

class RingWindowPresenter final : public QObject, public RingPresenter {
    Q_OBJECT
public:
    explicit RingWindowPresenter(RingWindowContext context, QObject* parent = nullptr);
    ~RingWindowPresenter() override;

    // User-interface thread, before the scheduler starts.
    void setScheduler(Scheduler* scheduler) { context_.scheduler = scheduler; }
    void setContext(const RingWindowContext& context) { context_ = context; }

    void Ring(const PendingAlarm& alarm) override;
    void Abort() override;

    // The open ring window, or null (user-interface thread).
    RingWindow* openWindow() const { return window_.data(); }

signals:
    // Emitted on the user-interface thread when a ring window has been shown.
    void windowShown(tolvane::RingWindow* window);

private:
    void CloseOpenWindow();

    RingWindowContext context_;     // used on the user-interface thread only
    QPointer<RingWindow> window_;   // user-interface thread only
    std::mutex mutex_;
    std::condition_variable changed_;
    bool aborted_ = false;          // guarded by mutex_
    quint64 ringsDone_ = 0;         // guarded by mutex_: windows destroyed (or never made)
};

}  // namespace tolvane
