#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <thread>

#include "FakeMediaPlayer.h"
#include "ring/RingPlayback.h"

using namespace tolvane;
using namespace std::chrono_literals;
using test::FakeMediaPlayer;
using test::Sound;

namespace {

bool WaitFinished(const RingPlayback& playback, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!playback.finished()) {
        if (timer.elapsed() > ms) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

const QList<AlarmSound> kABC = {Sound(1, 1, "A"), Sound(0, 5, "B"), Sound(1, 3, "C")};

}  // namespace

TEST(RingPlayback, InOrderPlaysEachEnabledSoundItsCountAndSkipsTheDisabled) {
    FakeMediaPlayer player;
    RingPlayback playback(player, 5ms);
    playback.Start(kABC, 0);
    ASSERT_TRUE(WaitFinished(playback));
    EXPECT_EQ(player.plays(), QStringList({"A", "C", "C", "C"}));
    // B was never even opened.
    EXPECT_EQ(player.events().filter("open"), QStringList({"open A", "open C"}));
    EXPECT_EQ(playback.playedCount(), 3);
    EXPECT_FALSE(player.playing());  // then silence
}

TEST(RingPlayback, AnyFlagButOneIsInOrder) {
    for (uint8_t flag : {0, 2, 255}) {
        FakeMediaPlayer player(0);
        RingPlayback playback(player, 2ms);
        playback.Start({Sound(1, 1, "A"), Sound(1, 1, "B"), Sound(1, 1, "C")}, flag);
        ASSERT_TRUE(WaitFinished(playback));
        EXPECT_EQ(player.plays(), QStringList({"A", "B", "C"})) << int(flag);
    }
}

TEST(RingPlayback, PlayCountOfZeroOrLessPlaysOnce) {
    FakeMediaPlayer player(0);
    RingPlayback playback(player, 2ms);
    playback.Start({Sound(1, 0, "A"), Sound(1, -4, "B")}, 0);
    ASSERT_TRUE(WaitFinished(playback));
    EXPECT_EQ(player.plays(), QStringList({"A", "B"}));
}

TEST(RingPlayback, OnlyEnabledExactlyOneTakesPart) {
    FakeMediaPlayer player(0);
    RingPlayback playback(player, 2ms);
    playback.Start({Sound(2, 1, "A"), Sound(-1, 1, "B"), Sound(1, 1, "C")}, 0);
    ASSERT_TRUE(WaitFinished(playback));
    EXPECT_EQ(player.plays(), QStringList({"C"}));
}

TEST(RingPlayback, ShuffledPlaysEachSoundOncePerRingInSomeOrder) {
    bool sawAnotherOrder = false;
    for (int ring = 0; ring < 40; ++ring) {
        FakeMediaPlayer player(0);
        RingPlayback playback(player, 1ms);
        playback.Start({Sound(1, 1, "A"), Sound(1, 1, "B"), Sound(1, 1, "C")}, 1);
        ASSERT_TRUE(WaitFinished(playback));
        QStringList plays = player.plays();
        ASSERT_EQ(plays.size(), 3);
        if (plays != QStringList({"A", "B", "C"})) sawAnotherOrder = true;
        std::sort(plays.begin(), plays.end());
        EXPECT_EQ(plays, QStringList({"A", "B", "C"}));
    }
    EXPECT_TRUE(sawAnotherOrder);
}

TEST(RingPlayback, ShuffledStillPlaysCountsAndSkipsDisabled) {
    FakeMediaPlayer player(0);
    RingPlayback playback(player, 1ms);
    playback.Start(kABC, 1);
    ASSERT_TRUE(WaitFinished(playback));
    QStringList plays = player.plays();
    std::sort(plays.begin(), plays.end());
    EXPECT_EQ(plays, QStringList({"A", "C", "C", "C"}));
}

TEST(RingPlayback, StopEndsAPlayThatNeverFinishesPromptly) {
    FakeMediaPlayer player;
    player.playForever = true;
    RingPlayback playback(player, 100ms);
    playback.Start(kABC, 0);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(player.plays(), QStringList({"A"}));
    QElapsedTimer timer;
    timer.start();
    playback.RequestStop();
    playback.Join();
    EXPECT_LT(timer.elapsed(), 100);  // the sleeping worker wakes at once
    EXPECT_TRUE(playback.finished());
    EXPECT_EQ(player.plays(), QStringList({"A"}));
}

TEST(RingPlayback, EmptyListEndsAtOnce) {
    FakeMediaPlayer player;
    RingPlayback playback(player, 5ms);
    playback.Start({}, 0);
    ASSERT_TRUE(WaitFinished(playback));
    EXPECT_TRUE(player.events().isEmpty());
}

// A sound that cannot be opened or played does not silence the rest of the list.
TEST(RingPlayback, MendAnUnopenableSoundIsPassedOver) {
    FakeMediaPlayer player(1);
    player.unopenable = {"B"};
    RingPlayback playback(player, 2ms);
    playback.Start({Sound(1, 1, "A"), Sound(1, 3, "B"), Sound(1, 2, "C")}, 0);
    ASSERT_TRUE(WaitFinished(playback));
    EXPECT_EQ(player.plays(), QStringList({"A", "C", "C"}));
}

TEST(RingPlayback, MendAnUnplayableSoundIsPassedOver) {
    FakeMediaPlayer player(1);
    player.unplayable = {"A"};
    RingPlayback playback(player, 2ms);
    playback.Start({Sound(1, 5, "A"), Sound(1, 1, "C")}, 0);
    ASSERT_TRUE(WaitFinished(playback));
    EXPECT_EQ(player.plays(), QStringList({"C"}));
    EXPECT_EQ(player.events().filter("fail"), QStringList({"fail A"}));  // tried once, not 5 times
}
