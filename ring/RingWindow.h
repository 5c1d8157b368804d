#pragma once
// The ring window "Tolvane 响铃提示": shows a due task's prompt, ring time and the
// current time, settles the fired task, optionally shakes, and plays the alarm sound list
// until "知道了" is clicked.
//
// Life of one window (user-interface thread only):
// - The constructor does the "created" steps 1 to 6 (height, reset, ring time, prompt,
//   settling the task through Scheduler::SettleFiredTask, a purge on a worker, current time).
// - Present() does steps 7 to 9: shows the window in the middle of the screen, above all
//   others ("窗口总在最前" starts ticked), shakes it when the setting says so (按钮_OK is
//   disabled meanwhile; the shake runs on a 20 ms timer so the window keeps painting) and
//   then starts the playback worker.
// - "知道了" runs the "about to be destroyed" steps (hide, stop the worker and wait for it,
//   close the player, purge on a worker) and deletes the window later; the destructor runs
//   them if they have not run. The title-bar close and the system close are refused.
#include <QList>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>

#include "core/Scheduler.h"
#include "platform/Clock.h"
#include "platform/MediaPlayer.h"
#include "ring/AlarmSoundList.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tolvane {

class RingPlayback;

// What a ring window needs of the rest of the program. Everything it points to must outlive
// the window.
struct RingWindowContext {
    Scheduler* scheduler = nullptr;          // SettleFiredTask, PurgeDeletedTasksAsync
    const platform::Clock* clock = nullptr;  // the current time shown
    // AlarmSoundList::LoadSounds: fills the list, returns the flag line.
    std::function<QString(QList<AlarmSound>&)> loadSounds;
    // AppConfig::GetWindowShake.
    std::function<bool()> windowShake;
    // FillTaskList when TaskManagerWindow exists; empty or a no-op otherwise.
    std::function<void()> refreshTaskList;
    // Makes the window's media player (媒体播放1).
    std::function<std::unique_ptr<platform::MediaPlayer>()> makePlayer;
    // The playback worker's poll period.
    std::chrono::milliseconds poll{100};
};

class RingWindow final : public QWidget {
    Q_OBJECT
public:
    // Designed client size; the window is shown kHeightCut shorter.
    static constexpr int kDesignedWidth = 300;
    static constexpr int kDesignedHeight = 264;
    static constexpr int kHeightCut = 44;

    RingWindow(const RingWindowContext& context, const PendingAlarm& alarm, QWidget* parent = nullptr);
    ~RingWindow() override;

    // Steps 7 to 9 of "created": show, shake, start the playback.
    void Present();
    // What "知道了" does: the closing steps, then deleteLater.
    void Dismiss();

    // For tests: the playback worker (null before it started) and whether a shake runs.
    RingPlayback* playback() const { return playback_.get(); }
    bool shaking() const { return shakeStep_ >= 0; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    void RefreshNow();
    void ShakeStep();
    void StartPlayback();
    void Finish();  // the "about to be destroyed" steps, once
    void SetAlwaysOnTop(bool on);

    RingWindowContext context_;
    QLabel* prompt_ = nullptr;
    QLabel* ringTime_ = nullptr;
    QLabel* nowTime_ = nullptr;
    QPushButton* ok_ = nullptr;
    QCheckBox* onTop_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    QTimer* shakeTimer_ = nullptr;
    int shakeStep_ = -1;  // 0 … 23 while shaking
    std::unique_ptr<platform::MediaPlayer> player_;
    std::unique_ptr<RingPlayback> playback_;
    bool finished_ = false;
};

}  // namespace tolvane
