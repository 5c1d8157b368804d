#include "platform/AudioSystem.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <QFile>
#include <atomic>

namespace tolvane::platform {

namespace {

std::atomic<bool> g_liveSystem{false};  // one AudioSystem owns SDL's audio at a time

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 2048;
constexpr int kInitialMixChannels = 8;

bool OpenMixer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

}  // namespace

AudioSystem::AudioSystem(QString soundFont) : soundFont_(std::move(soundFont)) {}

AudioSystem::~AudioSystem() {
    std::lock_guard lock(mutex_);
    if (state_ == OpenState::Open) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
        Mix_Quit();
    }
    if (sdlInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (owner_) g_liveSystem.store(false);
}

bool AudioSystem::EnsureOpen() {
    std::lock_guard lock(mutex_);
    return OpenLocked();
}

bool AudioSystem::OpenLocked() {
    if (state_ != OpenState::NotTried) return state_ == OpenState::Open;
    state_ = OpenState::Failed;
    bool expected = false;
    if (!g_liveSystem.compare_exchange_strong(expected, true)) return false;
    owner_ = true;

    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    bool open = OpenMixer();
    if (!open) {
        // No usable device: the silent driver keeps the rings and their timing.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        open = OpenMixer();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        fallback_ = open;
    }
    if (!open) return false;
    sdlInitialised_ = true;
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
    if (!soundFont_.isEmpty()) Mix_SetSoundFonts(QFile::encodeName(soundFont_).constData());
    Mix_AllocateChannels(kInitialMixChannels);
    channels_.assign(kInitialMixChannels, false);

    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0)
        bytesPerSecond_ = frequency * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    const char* driver = SDL_GetCurrentAudioDriver();
    driver_ = driver ? QString::fromUtf8(driver) : QString();
    state_ = OpenState::Open;
    return true;
}

QString AudioSystem::driverName() {
    std::lock_guard lock(mutex_);
    return driver_;
}

bool AudioSystem::usingFallback() {
    std::lock_guard lock(mutex_);
    return fallback_;
}

int AudioSystem::bytesPerSecond() {
    std::lock_guard lock(mutex_);
    return bytesPerSecond_;
}

int AudioSystem::ReserveChannelLocked() {
    for (size_t i = 0; i < channels_.size(); ++i) {
        if (!channels_[i]) {
            channels_[i] = true;
            return static_cast<int>(i);
        }
    }
    const int channel = static_cast<int>(channels_.size());
    Mix_AllocateChannels(channel * 2);
    channels_.resize(static_cast<size_t>(channel) * 2, false);
    channels_[static_cast<size_t>(channel)] = true;
    return channel;
}

void AudioSystem::ReleaseChannelLocked(int channel) {
    if (channel < 0 || channel >= static_cast<int>(channels_.size())) return;
    Mix_HaltChannel(channel);
    channels_[static_cast<size_t>(channel)] = false;
}

bool AudioSystem::AcquireStreamLocked(const void* player, int priority) {
    if (streamOwner_ == player) {
        streamPriority_ = priority;
        return true;
    }
    if (streamOwner_ != nullptr && streamPriority_ > priority) return false;
    if (streamOwner_ != nullptr) Mix_HaltMusic();
    streamOwner_ = player;
    streamPriority_ = priority;
    return true;
}

void AudioSystem::ReleaseStreamLocked(const void* player) {
    if (streamOwner_ != player) return;
    Mix_HaltMusic();
    streamOwner_ = nullptr;
    streamPriority_ = 0;
}

}  // namespace tolvane::platform
