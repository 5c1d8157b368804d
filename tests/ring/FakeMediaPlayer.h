#pragma once
// A media player for tests: every play "lasts" a few polls; it records what was opened and
// played, and can be told that some files cannot be opened or played.
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>

#include "platform/MediaPlayer.h"
#include "ring/AlarmSoundList.h"

namespace tolvane::test {

class FakeMediaPlayer final : public platform::MediaPlayer {
public:
    // Each play reports "playing" for `pollsPerPlay` IsStopped calls.
    explicit FakeMediaPlayer(int pollsPerPlay = 2) : pollsPerPlay_(pollsPerPlay) {}

    QSet<QString> unopenable;   // Open fails for these paths
    QSet<QString> unplayable;   // Play fails for these paths
    bool playForever = false;   // a play never ends (until Stop or Close)

    bool Open(const QString& path) override {
        std::lock_guard lock(mutex_);
        events_ << QStringLiteral("open ") + path;
        playing_ = 0;
        open_ = unopenable.contains(path) ? QString() : path;
        return !open_.isEmpty();
    }
    bool Play() override { return PlayTimes(1); }
    bool PlayTimes(int) override {
        std::lock_guard lock(mutex_);
        if (open_.isEmpty() || unplayable.contains(open_)) {
            events_ << QStringLiteral("fail ") + open_;
            playing_ = 0;
            return false;
        }
        plays_ << open_;
        events_ << QStringLiteral("play ") + open_;
        playing_ = playForever ? -1 : pollsPerPlay_;
        return true;
    }
    bool IsStopped() override {
        std::lock_guard lock(mutex_);
        if (playing_ < 0) return false;
        if (playing_ == 0) return true;
        --playing_;
        return false;
    }
    void Stop() override {
        std::lock_guard lock(mutex_);
        playing_ = 0;
    }
    void Close() override {
        std::lock_guard lock(mutex_);
        events_ << QStringLiteral("close");
        playing_ = 0;
        open_.clear();
        closed_ = true;
    }

    QStringList plays() const {
        std::lock_guard lock(mutex_);
        return plays_;
    }
    QStringList events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    bool playing() const {
        std::lock_guard lock(mutex_);
        return playing_ != 0;
    }
    bool closed() const {
        std::lock_guard lock(mutex_);
        return closed_;
    }

private:
    const int pollsPerPlay_;
    mutable std::mutex mutex_;
    QString open_;          // guarded by mutex_
    int playing_ = 0;       // polls left; -1 forever
    bool closed_ = false;
    QStringList plays_;
    QStringList events_;
};

inline AlarmSound Sound(int enabled, int playCount, const QString& path) {
    return AlarmSound{enabled, playCount, path, path};
}

}  // namespace tolvane::test
