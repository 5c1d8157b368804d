#pragma once
// The process's audio output over SDL2_mixer, shared by every media player.
//
// Contract:
// - Make one AudioSystem in main (before any window that plays sound) and keep it until every
//   MediaPlayer made from it has been destroyed. At most one AudioSystem may be alive in a
//   process at a time (SDL's audio is process-wide); while one is alive, a second one never
//   opens (its players then report "stopped" for everything).
// - Nothing happens at construction. The first player that opens a file initialises SDL's
//   audio and the mixer (lazily, once; any thread, thread-safe). Destruction halts all sound
//   and shuts SDL's audio down, so a later AudioSystem starts afresh (tests rely on this to
//   choose another SDL_AUDIODRIVER).
// - Without a usable audio device (no sound card, no sound server, a bad SDL_AUDIODRIVER)
//   the mixer is opened on SDL's "dummy" driver: sounds then "play" silently in real time,
//   so rings and their playback order behave exactly as with a device.
// - SDL is told not to install signal handlers, so SIGINT and SIGTERM keep their defaults.
// - MIDI files are rendered with the soundfont given at construction (the timgm6mb one of
//   Debian by default).
//
// Every mixer call of every player goes through this object's lock, so players may be used
// from different threads at once (each player itself by one thread at a time).
#include <QString>
#include <mutex>
#include <vector>

namespace tolvane::platform {

class SdlMediaPlayer;

class AudioSystem {
public:
    static constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

    explicit AudioSystem(QString soundFont = QString::fromLatin1(kDefaultSoundFont));
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // Opens the output when it is not open yet; true when the mixer is open (on a real
    // device or on the dummy driver). Later calls return the first call's result at once.
    bool EnsureOpen();
    // After a successful EnsureOpen: the SDL audio driver in use ("pulseaudio", "dummy", …),
    // and whether it is the silent fallback. Empty / false before.
    QString driverName();
    bool usingFallback();
    // Decoded bytes per second of the output format (0 before the mixer is open).
    int bytesPerSecond();

private:
    friend class SdlMediaPlayer;
    enum class OpenState { NotTried, Open, Failed };

    bool OpenLocked();     // with mutex_
    // Channels: each chunk-playing player holds one mixer channel of its own.
    int ReserveChannelLocked();
    void ReleaseChannelLocked(int channel);
    // The one streaming slot (Mix_Music plays one stream per process). A player may take it
    // when it is free or held by a player of no higher priority; the holder loses it then
    // (its stream is halted and it reports stopped).
    bool AcquireStreamLocked(const void* player, int priority);
    void ReleaseStreamLocked(const void* player);
    bool HoldsStreamLocked(const void* player) const { return streamOwner_ == player; }

    const QString soundFont_;
    std::mutex mutex_;               // guards everything below and every mixer call
    OpenState state_ = OpenState::NotTried;
    bool sdlInitialised_ = false;
    bool owner_ = false;             // this is the process's live AudioSystem
    bool fallback_ = false;
    QString driver_;
    int bytesPerSecond_ = 0;
    std::vector<bool> channels_;     // reserved mixer channels
    const void* streamOwner_ = nullptr;
    int streamPriority_ = 0;
};

}  // namespace tolvane::platform
