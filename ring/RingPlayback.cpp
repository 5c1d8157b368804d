#include "ring/RingPlayback.h"

#include <random>

namespace tolvane {

RingPlayback::RingPlayback(platform::MediaPlayer& player, std::chrono::milliseconds poll)
    : player_(player), poll_(poll) {}

RingPlayback::~RingPlayback() {
    RequestStop();
    Join();
}

void RingPlayback::Start(QList<AlarmSound> sounds, uint8_t shuffle) {
    if (playbackWorker_.joinable()) return;
    ringSounds_ = std::move(sounds);
    shuffleSounds_ = shuffle;
    playedCount_.store(0);
    finished_.store(false);
    playbackWorker_ = std::thread([this] { Run(); });
}

void RingPlayback::RequestStop() {
    {
        std::lock_guard lock(sleepMutex_);
        stopPlayback_.store(kStop);
    }
    wake_.notify_all();
}

void RingPlayback::Join() {
    if (playbackWorker_.joinable()) playbackWorker_.join();
}

bool RingPlayback::Sleep() {
    std::unique_lock lock(sleepMutex_);
    return !wake_.wait_for(lock, poll_, [this] { return stopPlayback_.load() == kStop; });
}

void RingPlayback::Run() {
    // Seeded from the clock.
    std::mt19937 random(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    const qsizetype n = ringSounds_.size();
    qsizetype p = 0;  // position in ringSounds, counted from 0
    for (qsizetype i = 0; i < n && !ringSounds_.isEmpty(); ++i) {
        if (shuffleSounds_ == 1) {
            std::uniform_int_distribution<qsizetype> pick(0, ringSounds_.size() - 1);
            p = pick(random);
        }
        const AlarmSound s = ringSounds_.at(p);
        if (s.enabled == 1) {
            if (stopRequested()) break;
            const bool opened = player_.Open(s.filePath);
            if (stopRequested()) break;
            if (opened) {  // a sound that cannot be opened is passed over
                playedCount_.store(0);
                if (!PlaySound(s)) break;
            }
        }
        ringSounds_.removeAt(p);
    }
    finished_.store(true);
}

bool RingPlayback::PlaySound(const AlarmSound& sound) {
    int depth = 0;  // how many of the nested plays are still running
    for (;;) {
        // Start from the beginning and count the start.
        const bool started = player_.Play();
        playedCount_.fetch_add(1);
        ++depth;
        if (!started) return !stopRequested();  // a sound that cannot play ends its turn here
        for (;;) {
            if (stopRequested()) return false;
            if (!Sleep()) return false;
            if (!player_.IsStopped()) continue;
            if (stopRequested()) return false;
            if (playedCount_.load() >= sound.playCount) {
                // This play ends; the one it was nested in begins its next repetition.
                if (--depth == 0) return true;
                continue;
            }
            if (!Sleep()) return false;
            if (stopRequested()) return false;
            break;  // play again, nested in this play
        }
    }
}

}  // namespace tolvane
