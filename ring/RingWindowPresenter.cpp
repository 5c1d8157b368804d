#include "ring/RingWindowPresenter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>

namespace tolvane {

RingWindowPresenter::RingWindowPresenter(RingWindowContext context, QObject* parent)
    : QObject(parent), context_(std::move(context)) {
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &RingWindowPresenter::CloseOpenWindow);
}

RingWindowPresenter::~RingWindowPresenter() {
    Abort();
    CloseOpenWindow();
}

void RingWindowPresenter::Ring(const PendingAlarm& alarm) {
    if (QThread::currentThread() == thread()) return;  // contract: never on this thread
    quint64 target = 0;
    {
        std::lock_guard lock(mutex_);
        if (aborted_) return;
        target = ringsDone_ + 1;
    }
    auto done = [this] {
        {
            std::lock_guard lock(mutex_);
            ++ringsDone_;
        }
        changed_.notify_all();
    };
    QMetaObject::invokeMethod(
        this,
        [this, alarm, done] {
            {
                std::lock_guard lock(mutex_);
                if (aborted_) {
                    ++ringsDone_;
                    changed_.notify_all();
                    return;
                }
            }
            auto* window = new RingWindow(context_, alarm);
            window->setAttribute(Qt::WA_QuitOnClose, false);
            // A modal window that is open now would block the ring window's input. Made
            // window-modal itself, the ring window is not blocked by modal windows opened
            // before it, and having no parent window it blocks nothing.
            if (QGuiApplication::modalWindow()) window->setWindowModality(Qt::WindowModal);
            window_ = window;
            connect(window, &QObject::destroyed, this, done, Qt::DirectConnection);
            window->Present();
            emit windowShown(window);
        },
        Qt::QueuedConnection);

    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return aborted_ || ringsDone_ >= target; });
}

void RingWindowPresenter::Abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
    }
    changed_.notify_all();
}

void RingWindowPresenter::CloseOpenWindow() {
    if (RingWindow* window = window_.data()) delete window;
}

}  // namespace tolvane
