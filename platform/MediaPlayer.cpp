#include "platform/MediaPlayer.h"

#include <SDL2/SDL_mixer.h>

#include <QFile>

namespace tolvane::platform {

SdlMediaPlayer::SdlMediaPlayer(AudioSystem& audio, Priority priority)
    : audio_(audio), priority_(static_cast<int>(priority)) {}

SdlMediaPlayer::~SdlMediaPlayer() { Close(); }

bool SdlMediaPlayer::Open(const QString& path) {
    std::lock_guard lock(audio_.mutex_);
    CloseLocked();
    if (!audio_.OpenLocked() || path.isEmpty()) return false;
    const QByteArray file = QFile::encodeName(path);
    // Opening as a stream reads only the head of the file; it tells the type and length.
    Mix_Music* music = Mix_LoadMUS(file.constData());
    if (!music) return false;
    const double seconds = Mix_MusicDuration(music);
    const bool small = seconds > 0 && audio_.bytesPerSecond_ > 0 &&
                       seconds * audio_.bytesPerSecond_ <= static_cast<double>(kMaxDecodedBytes);
    if (small) {
        Mix_Chunk* chunk = Mix_LoadWAV(file.constData());
        if (chunk) {
            Mix_FreeMusic(music);
            chunk_ = chunk;
            channel_ = audio_.ReserveChannelLocked();
            return true;
        }
    }
    music_ = music;
    return true;
}

bool SdlMediaPlayer::Play() { return PlayTimes(1); }

bool SdlMediaPlayer::PlayTimes(int times) {
    if (times < 1) times = 1;
    std::lock_guard lock(audio_.mutex_);
    started_ = false;
    if (chunk_) {
        Mix_HaltChannel(channel_);
        started_ = Mix_PlayChannel(channel_, chunk_, times - 1) == channel_;
    } else if (music_) {
        if (!audio_.AcquireStreamLocked(this, priority_)) return false;
        // Mix_PlayMusic's count: 0 and 1 play once, n plays n times; it starts at the head.
        started_ = Mix_PlayMusic(music_, times) == 0;
        if (!started_) audio_.ReleaseStreamLocked(this);
    }
    return started_;
}

bool SdlMediaPlayer::IsStopped() {
    std::lock_guard lock(audio_.mutex_);
    if (!started_) return true;
    if (chunk_) return Mix_Playing(channel_) == 0;
    if (music_) return !audio_.HoldsStreamLocked(this) || Mix_PlayingMusic() == 0;
    return true;
}

void SdlMediaPlayer::Stop() {
    std::lock_guard lock(audio_.mutex_);
    started_ = false;
    if (chunk_) Mix_HaltChannel(channel_);
    if (music_) audio_.ReleaseStreamLocked(this);
}

void SdlMediaPlayer::Close() {
    std::lock_guard lock(audio_.mutex_);
    CloseLocked();
}

void SdlMediaPlayer::CloseLocked() {
    started_ = false;
    if (chunk_) {
        audio_.ReleaseChannelLocked(channel_);  // halts the channel before the chunk goes
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
        channel_ = -1;
    }
    if (music_) {
        audio_.ReleaseStreamLocked(this);
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
}

}  // namespace tolvane::platform
