#pragma once
// The ring window's playback worker: plays the alarm sound list of one ring, in
// list order or shuffled, each enabled sound its play count of times, polling the media
// player every 100 ms, until the list is used up or the window asks it to stop.
//
// The ring's playback values (ringSounds, shuffleSounds, stopPlayback, playedCount,
// playbackWorker) live here, one set per ring window; only one ring window exists at a
// time, so they need no globals.
//
// A sound that cannot be opened or started does not silence the rest of the list: the
// worker passes on to the next sound at once, instead of waiting for a "stopped" that a
// player which failed to open would never report.
//
// Thread-safety: Start, RequestStop and Join are called by the window's thread; the worker
// thread alone uses the player and the sound list while it runs. After Join the player is
// the caller's again.
#include <QList>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/MediaPlayer.h"
#include "ring/AlarmSoundList.h"

namespace tolvane {

class RingPlayback {
public:
    static constexpr uint8_t kStop = 4;

    // `player` must outlive the worker (Join before destroying it). `poll` is the period at
    // which the player is asked whether it has stopped.
    explicit RingPlayback(platform::MediaPlayer& player,
                          std::chrono::milliseconds poll = std::chrono::milliseconds(100));
    // Asks the worker to stop and waits for it.
    ~RingPlayback();
    RingPlayback(const RingPlayback&) = delete;
    RingPlayback& operator=(const RingPlayback&) = delete;

    // Starts the worker on `sounds` (the ring's own copy). `shuffle` is the flag line of
    // music.db as a number kept in one byte: 1 shuffled, anything else in order. Call once.
    void Start(QList<AlarmSound> sounds, uint8_t shuffle);
    // stopPlayback = 4: the worker ends at its next test (at once when it is sleeping).
    void RequestStop();
    // Waits until the worker has ended (returns at once when none was started).
    void Join();

    bool stopRequested() const { return stopPlayback_.load() == kStop; }
    // Whether the worker has ended by itself or after a stop.
    bool finished() const { return finished_.load(); }
    // How often the current sound has been started (playedCount).
    int32_t playedCount() const { return playedCount_.load(); }

private:
    void Run();
    // Plays `sound` its play count of times by the nested repetition, done as a loop; false when
    // a stop was asked for.
    bool PlaySound(const AlarmSound& sound);
    // Sleeps one poll period; false (at once) when a stop is asked for meanwhile.
    bool Sleep();

    platform::MediaPlayer& player_;
    const std::chrono::milliseconds poll_;
    QList<AlarmSound> ringSounds_;         // the worker's alone while it runs
    uint8_t shuffleSounds_ = 0;
    std::atomic<uint8_t> stopPlayback_{0};
    std::atomic<int32_t> playedCount_{0};
    std::atomic<bool> finished_{false};
    std::mutex sleepMutex_;
    std::condition_variable wake_;         // with sleepMutex_: wakes a sleeping worker on stop
    std::thread playbackWorker_;
};

}  // namespace tolvane
