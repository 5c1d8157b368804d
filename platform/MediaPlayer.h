#pragma once
// Media playback of WAV, MIDI and MP3 files: the interface the windows use, and the real
// player over SDL2_mixer.
#include <QString>

#include "platform/AudioSystem.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace tolvane::platform {

// One player, as a window holds one (the ring window's 媒体播放1, a preview button's).
// Contract: a player is used by one thread at a time; different players may be used from
// different threads at once. Results, not exceptions: an operation that cannot be done
// returns false and leaves the player stopped.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    // Opens the file at `path` (closing what was open). False when it is missing or is not
    // a sound the player can play; the player is then closed.
    virtual bool Open(const QString& path) = 0;
    // Plays the open file once from its start (stopping what it was playing).
    virtual bool Play() = 0;
    // Plays the open file `times` times in a row from its start (1 or less: once).
    virtual bool PlayTimes(int times) = 0;
    // Whether nothing is playing: not opened, failed, stopped, or played to its end.
    virtual bool IsStopped() = 0;
    virtual void Stop() = 0;
    // Stops and releases the file; the player may be opened again.
    virtual void Close() = 0;
};

// The real player. Short files are decoded once into memory and played on a mixer channel
// of the player's own, so any number of them play side by side. A file whose decoded sound
// would exceed kMaxDecodedBytes (about 95 s at the output format: a ten-minute MP3) or whose
// length is unknown (MIDI) is streamed from disk instead, through the process's one music
// stream; of two players that want to stream at once, the one of higher priority keeps it:
// an alarm is never stopped by a preview (the preview then reports stopped at once), and an
// alarm that needs the stream takes it from a preview. Players of equal priority: the later
// one takes it.
class SdlMediaPlayer final : public MediaPlayer {
public:
    enum class Priority { Preview = 1, Alarm = 2 };
    static constexpr int kMaxDecodedBytes = 16 * 1024 * 1024;

    // `audio` must outlive the player.
    explicit SdlMediaPlayer(AudioSystem& audio, Priority priority = Priority::Preview);
    ~SdlMediaPlayer() override;
    SdlMediaPlayer(const SdlMediaPlayer&) = delete;
    SdlMediaPlayer& operator=(const SdlMediaPlayer&) = delete;

    bool Open(const QString& path) override;
    bool Play() override;
    bool PlayTimes(int times) override;
    bool IsStopped() override;
    void Stop() override;
    void Close() override;

    // Whether the open file is streamed rather than held decoded (for tests).
    bool isStreaming() const { return music_ != nullptr; }

private:
    void CloseLocked();

    AudioSystem& audio_;
    const int priority_;
    Mix_Chunk* chunk_ = nullptr;   // a decoded short file, or
    Mix_Music* music_ = nullptr;   // a streamed one
    int channel_ = -1;             // the mixer channel held while a chunk is open
    bool started_ = false;         // a play has started since the last open or stop
};

}  // namespace tolvane::platform
