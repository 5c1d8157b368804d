// The real SDL2_mixer player, on SDL's disk driver (the samples land in a file) or its
// dummy driver (silent, in real time).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/AudioSystem.h"
#include "platform/MediaPlayer.h"

using namespace tolvane::platform;
using namespace std::chrono_literals;

namespace {

// Sets an environment variable for the life of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const QByteArray& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = QByteArray(old);
        setenv(name, value.constData(), 1);
    }
    ~EnvOverride() {
        if (old_) setenv(name_, old_->constData(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// A mono 8-bit WAV file of `seconds` of a square wave (or silence).
QString WriteWav(const QString& path, int seconds, int rate = 8000, bool silent = false) {
    const quint32 frames = static_cast<quint32>(seconds * rate);
    QByteArray data(static_cast<qsizetype>(frames), char(0x80));
    if (!silent)
        for (quint32 i = 0; i < frames; ++i) data[i] = char((i / 10) % 2 ? 0xC0 : 0x40);
    QByteArray h;
    auto u32 = [&h](quint32 v) { for (int i = 0; i < 4; ++i) h.append(char((v >> (8 * i)) & 0xFF)); };
    auto u16 = [&h](quint16 v) { h.append(char(v & 0xFF)); h.append(char(v >> 8)); };
    h.append("RIFF");
    u32(36 + frames);
    h.append("WAVEfmt ");
    u32(16); u16(1); u16(1); u32(static_cast<quint32>(rate)); u32(static_cast<quint32>(rate)); u16(1); u16(8);
    h.append("data");
    u32(frames);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(h + data);
    return path;
}

// A MIDI file of a few notes: its length is unknown to the mixer, so it is streamed.
QString WriteMidi(const QString& path) {
    QByteArray track;
    for (int note : {60, 64, 67, 72, 67, 64, 60, 64, 67, 72}) {
        track.append(char(0)).append(char(0x90)).append(char(note)).append(char(100));
        track.append(char(0x83)).append(char(0x60)).append(char(0x80)).append(char(note)).append(char(0));
    }
    track.append(char(0)).append(char(0xFF)).append(char(0x2F)).append(char(0));
    QByteArray file("MThd");
    file.append(QByteArray("\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 10));
    file.append("MTrk");
    const quint32 n = static_cast<quint32>(track.size());
    for (int i = 3; i >= 0; --i) file.append(char((n >> (8 * i)) & 0xFF));
    file.append(track);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
    return path;
}

// Waits (up to 5 s, for a loaded machine) until the player reports stopped.
bool WaitStopped(SdlMediaPlayer& player) {
    for (int i = 0; i < 500; ++i) {
        if (player.IsStopped()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

const QString kDefaultSound2 = QStringLiteral(TOLVANE_SOURCE_DIR "/assets/默认闹铃2.mp3");
const QString kDefaultSound1 = QStringLiteral(TOLVANE_SOURCE_DIR "/assets/默认闹铃.mp3");

}  // namespace

TEST(SdlMediaPlayer, AnMp3PlaysNonSilentSamplesThroughTheDiskDriver) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    EnvOverride driver("SDL_AUDIODRIVER", "disk");
    EnvOverride file("SDL_DISKAUDIOFILE", QFile::encodeName(out));
    {
        AudioSystem audio;
        SdlMediaPlayer player(audio, SdlMediaPlayer::Priority::Alarm);
        ASSERT_TRUE(player.Open(kDefaultSound2));
        EXPECT_EQ(audio.driverName(), QStringLiteral("disk"));
        EXPECT_FALSE(audio.usingFallback());
        EXPECT_TRUE(player.IsStopped());  // opened, not started
        ASSERT_TRUE(player.Play());
        EXPECT_FALSE(player.IsStopped());
        std::this_thread::sleep_for(800ms);
        EXPECT_FALSE(player.IsStopped());
        player.Stop();
        EXPECT_TRUE(player.IsStopped());
    }
    QFile raw(out);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    const qsizetype count = bytes.size() / 2;
    qsizetype loud = 0;
    for (qsizetype i = 0; i < count; ++i)
        if (samples[i] > 1000 || samples[i] < -1000) ++loud;
    EXPECT_GT(count, 44100);   // more than a quarter second of stereo output
    EXPECT_GT(loud, 2000) << "of " << count << " samples";
}

TEST(SdlMediaPlayer, WithoutADeviceFallsBackToTheSilentDriver) {
    EnvOverride driver("SDL_AUDIODRIVER", "no-such-driver");
    AudioSystem audio;
    EXPECT_TRUE(audio.EnsureOpen());
    EXPECT_TRUE(audio.usingFallback());
    EXPECT_EQ(audio.driverName(), QStringLiteral("dummy"));
    SdlMediaPlayer player(audio);
    QTemporaryDir dir;
    ASSERT_TRUE(player.Open(WriteWav(dir.filePath("short.wav"), 1)));
    ASSERT_TRUE(player.Play());
    EXPECT_FALSE(player.IsStopped());
    // The silent driver keeps real time: a one-second sound ends after about a second.
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(player.IsStopped());
    EXPECT_TRUE(WaitStopped(player));
}

TEST(SdlMediaPlayer, PlayTimesPlaysTheFileThatManyTimes) {
    AudioSystem audio;  // the dummy driver of the test environment
    SdlMediaPlayer player(audio);
    QTemporaryDir dir;
    ASSERT_TRUE(player.Open(WriteWav(dir.filePath("half.wav"), 1, 4000)));
    ASSERT_TRUE(player.PlayTimes(2));
    std::this_thread::sleep_for(1400ms);
    EXPECT_FALSE(player.IsStopped());  // in its second play
    EXPECT_TRUE(WaitStopped(player));
}

TEST(SdlMediaPlayer, FilesThatCannotBeOpenedReportFalseAndStopped) {
    AudioSystem audio;
    SdlMediaPlayer player(audio);
    QTemporaryDir dir;
    EXPECT_FALSE(player.Open(dir.filePath("missing.mp3")));
    EXPECT_FALSE(player.Play());
    EXPECT_TRUE(player.IsStopped());
    QFile text(dir.filePath("notes.mp3"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a sound\n");
    text.close();
    EXPECT_FALSE(player.Open(text.fileName()));
    EXPECT_FALSE(player.Play());
    EXPECT_TRUE(player.IsStopped());
    EXPECT_FALSE(player.Open(QString()));
}

TEST(SdlMediaPlayer, ShortSoundsAreHeldDecodedLongOnesAreStreamed) {
    AudioSystem audio;
    SdlMediaPlayer player(audio);
    ASSERT_TRUE(player.Open(kDefaultSound1));  // about 54 s
    EXPECT_FALSE(player.isStreaming());
    ASSERT_TRUE(player.Open(kDefaultSound2));
    EXPECT_FALSE(player.isStreaming());
    QTemporaryDir dir;
    // Ten minutes would decode to about 100 MiB: it is streamed from the file instead.
    ASSERT_TRUE(player.Open(WriteWav(dir.filePath("ten-minutes.wav"), 600, 8000, true)));
    EXPECT_TRUE(player.isStreaming());
    ASSERT_TRUE(player.Play());
    EXPECT_FALSE(player.IsStopped());
    player.Close();
    EXPECT_TRUE(player.IsStopped());
}

TEST(SdlMediaPlayer, PlayersOfDifferentWindowsDoNotDisturbEachOther) {
    AudioSystem audio;
    QTemporaryDir dir;
    const QString wav = WriteWav(dir.filePath("two.wav"), 2);
    SdlMediaPlayer ring(audio, SdlMediaPlayer::Priority::Alarm);
    SdlMediaPlayer test(audio, SdlMediaPlayer::Priority::Preview);
    ASSERT_TRUE(ring.Open(wav));
    ASSERT_TRUE(test.Open(wav));
    ASSERT_TRUE(ring.Play());
    ASSERT_TRUE(test.Play());  // a preview beside the ring
    EXPECT_FALSE(ring.IsStopped());
    EXPECT_FALSE(test.IsStopped());
    test.Stop();
    test.Close();
    EXPECT_FALSE(ring.IsStopped());  // stopping and closing the preview leaves the ring

    // Streamed sounds share the one stream: a preview never takes it from a ring.
    const QString midi = WriteMidi(dir.filePath("tune.mid"));
    ASSERT_TRUE(ring.Open(midi));
    ASSERT_TRUE(ring.isStreaming());
    ASSERT_TRUE(ring.Play());
    ASSERT_TRUE(test.Open(midi));
    EXPECT_FALSE(test.Play());
    EXPECT_TRUE(test.IsStopped());
    EXPECT_FALSE(ring.IsStopped());
    test.Stop();
    test.Close();
    EXPECT_FALSE(ring.IsStopped());
    ring.Stop();

    // A ring takes the stream from a preview.
    ASSERT_TRUE(test.Open(midi));
    ASSERT_TRUE(test.Play());
    EXPECT_FALSE(test.IsStopped());
    ASSERT_TRUE(ring.Play());
    EXPECT_TRUE(test.IsStopped());
    EXPECT_FALSE(ring.IsStopped());
}

TEST(SdlMediaPlayer, ASecondLiveAudioSystemStaysClosed) {
    AudioSystem first;
    ASSERT_TRUE(first.EnsureOpen());
    AudioSystem second;
    EXPECT_FALSE(second.EnsureOpen());
    SdlMediaPlayer player(second);
    EXPECT_FALSE(player.Open(kDefaultSound2));
    EXPECT_TRUE(player.IsStopped());
}
