#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QScreen>
#include <QWindow>
#include <thread>

#include "FakeMediaPlayer.h"
#include "RingTestSupport.h"
#include "ring/RingPlayback.h"
#include "ring/RingWindow.h"

using namespace tolvane;
using namespace std::chrono_literals;
using test::FakeMediaPlayer;
using test::Sound;
using test::SpinUntil;

namespace {

// A scheduler over a temporary store, and the sounds, setting and player of one ring.
struct RingFixture : test::RingStoreFixture {
    FakeMediaPlayer* player = nullptr;  // the last player a window made
    QList<AlarmSound> sounds = {Sound(1, 1, "A"), Sound(0, 1, "B"), Sound(1, 3, "C")};
    QString flag = QStringLiteral("0");
    bool shake = false;
    int refreshes = 0;
    bool playForever = false;

    RingWindowContext Context() {
        RingWindowContext c = BaseContext();
        c.loadSounds = [this](QList<AlarmSound>& out) {
            out = sounds;
            return flag;
        };
        c.windowShake = [this] { return shake; };
        c.refreshTaskList = [this] { ++refreshes; };
        c.makePlayer = [this] {
            auto p = std::make_unique<FakeMediaPlayer>(1);
            p->playForever = playForever;
            player = p.get();
            return std::unique_ptr<platform::MediaPlayer>(std::move(p));
        };
        return c;
    }

    // Adds a task and returns the pending entry the scheduler would have made for it.
    PendingAlarm Add(const QByteArray& b, TimeTriple time, const QString& d) {
        EXPECT_TRUE(t.store.AddRecord(test::Task(b, time, d)));
        const int n = t.store.RecordCount();
        return PendingAlarm{n, static_cast<uint8_t>(b[1]), time, t.store.KeyOf(n), QDate(2026, 12, 9)};
    }
};

template <typename T>
T* Find(QWidget& w, const char* name) {
    return w.findChild<T*>(QString::fromUtf8(name));
}

}  // namespace

TEST(RingWindow, ShowsThePromptTheRingTimeAndTheCurrentTime) {
    RingFixture f;
    const PendingAlarm alarm = f.Add(test::Daily(), {7, 30, 0}, QStringLiteral("1起床了，该上班"));
    RingWindow w(f.Context(), alarm);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tolvane 响铃提示"));
    EXPECT_EQ(Find<QLabel>(w, "透明标签_提示内容")->text(), QStringLiteral("起床了，该上班"));
    EXPECT_EQ(Find<QLabel>(w, "透明标签_响铃时间")->text(), QStringLiteral("07:30:00"));
    EXPECT_EQ(Find<QLabel>(w, "透明标签_现在时间")->text(), QStringLiteral("09:00:05"));
    EXPECT_EQ(Find<QLabel>(w, "透明标签1")->text(), QStringLiteral("响铃时间："));
    EXPECT_EQ(Find<QLabel>(w, "透明标签2")->text(), QStringLiteral("现在时间："));
    EXPECT_EQ(Find<QPushButton>(w, "按钮_OK")->text(), QStringLiteral("知道了"));
    EXPECT_EQ(Find<QCheckBox>(w, "选择框")->text(), QStringLiteral("窗口总在最前"));
    const QFont font = Find<QLabel>(w, "透明标签_提示内容")->font();
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.pixelSize(), 24);
    // A daily task leaves the store alone.
    EXPECT_TRUE(f.t.store.IsLiveKey(alarm.key));
}

TEST(RingWindow, PromptFlagZeroShowsTimeIsUp) {
    RingFixture f;
    const PendingAlarm alarm = f.Add(test::Daily(), {6, 5, 9}, QStringLiteral("0"));
    RingWindow w(f.Context(), alarm);
    EXPECT_EQ(Find<QLabel>(w, "透明标签_提示内容")->text(), QStringLiteral("时间到了"));
    EXPECT_EQ(Find<QLabel>(w, "透明标签_响铃时间")->text(), QStringLiteral("06:05:09"));
}

// Only a leading "0" stands for "时间到了": any other D shows from its second character on,
// and an empty D shows an empty prompt.
TEST(RingWindow, PromptIsDWithoutItsFirstCharacterUnlessThatIsZero) {
    const struct { const char* d; const char* shown; } cases[] = {
        {"0", "时间到了"}, {"0开会", "时间到了"}, {"1开会", "开会"}, {"1", ""},
        {"2开会", "开会"}, {"开会了", "会了"}, {"", ""},
    };
    for (const auto& c : cases) {
        RingFixture f;
        RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QString::fromUtf8(c.d)));
        EXPECT_EQ(Find<QLabel>(w, "透明标签_提示内容")->text(), QString::fromUtf8(c.shown)) << c.d;
    }
}

// A long prompt is shown whole (smaller, or on two lines) rather than cut at both edges.
TEST(RingWindow, LongPromptsStayReadable) {
    struct Case { QString prompt; bool cut; };
    const Case cases[] = {
        {QStringLiteral("起床"), false},
        {QStringLiteral("该起床了，今天有重要的会议"), false},
        {QString(40, QChar(0x949F)), false},
        {QString(200, QChar(0x949F)), true},
    };
    for (const Case& c : cases) {
        RingFixture f;
        const PendingAlarm alarm = f.Add(test::Daily(), {7, 0, 0}, "1" + c.prompt);
        RingWindow w(f.Context(), alarm);
        auto* label = Find<QLabel>(w, "透明标签_提示内容");
        const QFontMetrics fm(label->font());
        const QRect needed = fm.boundingRect(QRect(0, 0, label->width(), 1000),
                                             label->wordWrap() ? Qt::TextWordWrap : 0, label->text());
        EXPECT_LE(needed.width(), label->width()) << c.prompt.size();
        EXPECT_LE(needed.height(), label->height()) << c.prompt.size();
        EXPECT_EQ(label->text() == c.prompt, !c.cut) << c.prompt.size();
        EXPECT_EQ(label->toolTip(), c.cut ? c.prompt : QString()) << c.prompt.size();
        if (c.prompt.size() <= 2) EXPECT_EQ(label->font().pixelSize(), 24);
    }
}

TEST(RingWindow, ControlsStandAtTheirDesignedPlaces) {
    RingFixture f;
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    const std::pair<const char*, QRect> places[] = {
        {"透明标签_提示内容", {0, 5, 300, 30}},  {"透明标签1", {96, 44, 56, 14}},
        {"透明标签_响铃时间", {161, 44, 78, 14}}, {"透明标签2", {96, 63, 56, 14}},
        {"透明标签_现在时间", {161, 63, 78, 14}}, {"按钮_OK", {107, 144, 62, 24}},
        {"选择框", {8, 198, 92, 14}},             {"分组框1", {5, 220, 291, 43}},
        {"标签5", {8, 16, 51, 21}},               {"编辑框m", {64, 16, 22, 21}},
        {"标签1", {94, 16, 77, 21}},              {"按钮_延时", {232, 13, 49, 23}},
    };
    for (const auto& [name, rect] : places) {
        QWidget* c = Find<QWidget>(w, name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->geometry(), rect) << name;
    }
    // Shown 44 pixels shorter than designed: the 延迟 group is cut off.
    EXPECT_EQ(w.size(), QSize(300, 220));
    EXPECT_GE(Find<QGroupBox>(w, "分组框1")->y(), w.height());
    EXPECT_EQ(Find<QGroupBox>(w, "分组框1")->title(), QStringLiteral("延迟"));
    EXPECT_NE(w.findChild<QTimer*>(QStringLiteral("时钟1")), nullptr);
}

TEST(RingWindow, AFiredOnceTaskIsGoneFromTheStore) {
    RingFixture f;
    const PendingAlarm before = f.Add(test::Daily(), {6, 0, 0}, QStringLiteral("1早"));
    const PendingAlarm alarm = f.Add(test::Once(), {7, 30, 0}, QStringLiteral("1开会"));
    const PendingAlarm after = f.Add(test::Daily(), {8, 0, 0}, QStringLiteral("1晚"));
    ASSERT_EQ(f.t.store.RecordCount(), 4);
    {
        RingWindow w(f.Context(), alarm);
        EXPECT_EQ(Find<QLabel>(w, "透明标签_提示内容")->text(), QStringLiteral("开会"));
        EXPECT_FALSE(f.t.store.IsLiveKey(alarm.key));  // marked deleted at once
        EXPECT_EQ(f.refreshes, 1);                      // the task list is refreshed
    }
    // The purges started at opening and closing remove it; the tasks behind move down.
    ASSERT_TRUE(SpinUntil([&] { return f.t.store.RecordCount() == 3; }));
    EXPECT_EQ(f.t.store.NumberOfKey(alarm.key), 0);
    EXPECT_EQ(f.t.store.NumberOfKey(before.key), 2);
    EXPECT_EQ(f.t.store.NumberOfKey(after.key), 3);
    EXPECT_EQ(f.t.store.ReadD(3), QStringLiteral("1晚"));
}

TEST(RingWindow, ACountdownEndsTheCountdownFlagAndKeepsRecordOne) {
    RingFixture f;
    ASSERT_TRUE(f.t.store.UpdateRecord(1, test::Task(QByteArray("\x01\x05", 2), {0, 5, 0}, QStringLiteral("0"))));
    f.scheduler.setCountdownFlag(1);
    const PendingAlarm alarm{1, kCountdown, {0, 5, 0}, f.t.store.KeyOf(1), QDate(2026, 12, 9)};
    RingWindow w(f.Context(), alarm);
    EXPECT_EQ(f.scheduler.countdownFlag(), 0);
    EXPECT_TRUE(f.t.store.IsLiveKey(alarm.key));
}

TEST(RingWindow, PlaysTheListAndKnowItClosesWithinAHundredMilliseconds) {
    RingFixture f;
    f.playForever = false;
    auto* w = new RingWindow(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    QPointer<RingWindow> alive(w);
    w->Present();
    ASSERT_NE(f.player, nullptr);
    ASSERT_TRUE(SpinUntil([&] { return w->playback()->finished(); }));
    EXPECT_EQ(f.player->plays(), QStringList({"A", "C", "C", "C"}));

    // A second ring whose sound plays on and on: "知道了" ends it at once.
    RingFixture g;
    g.playForever = true;
    auto* v = new RingWindow(g.Context(), g.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    QPointer<RingWindow> vAlive(v);
    v->Present();
    ASSERT_TRUE(SpinUntil([&] { return g.player->playing(); }));
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(v->findChild<QPushButton*>(QStringLiteral("按钮_OK")), Qt::LeftButton);
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_TRUE(vAlive.isNull() || !v->isVisible());
    EXPECT_TRUE(g.player->closed());
    EXPECT_FALSE(g.player->playing());
    ASSERT_TRUE(SpinUntil([&] { return vAlive.isNull(); }));  // destroyed soon after
    delete w;
}

TEST(RingWindow, RefusesTheTitleBarClose) {
    RingFixture f;
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    w.Present();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
}

TEST(RingWindow, StartsAboveAllOthersInTheMiddleOfTheScreenAndTheBoxReleasesIt) {
    RingFixture f;
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    w.Present();
    auto* box = Find<QCheckBox>(w, "选择框");
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((w.geometry().center() - screen.center()).manhattanLength(), 4);

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
}

TEST(RingWindow, WithoutShakeTheButtonIsEnabledAndPlaybackStartsAtOnce) {
    RingFixture f;
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    w.Present();
    const QPoint start = w.pos();
    EXPECT_TRUE(Find<QPushButton>(w, "按钮_OK")->isEnabled());
    EXPECT_FALSE(w.shaking());
    EXPECT_NE(w.playback(), nullptr);
    QTest::qWait(100);
    EXPECT_EQ(w.pos(), start);
}

TEST(RingWindow, ShakeDisablesTheButtonForHalfASecondThenPlays) {
    RingFixture f;
    f.shake = true;
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    QElapsedTimer timer;
    timer.start();
    w.Present();
    const QPoint first = w.pos();  // after the first step: (-2, +2) from the start
    const QPoint start = first + QPoint(2, -2);
    EXPECT_FALSE(Find<QPushButton>(w, "按钮_OK")->isEnabled());
    EXPECT_TRUE(w.shaking());
    EXPECT_EQ(w.playback(), nullptr);  // no sound before the shake ends
    ASSERT_TRUE(SpinUntil([&] { return !w.shaking(); }));
    EXPECT_GE(timer.elapsed(), 24 * 20 - 30);
    EXPECT_TRUE(Find<QPushButton>(w, "按钮_OK")->isEnabled());
    EXPECT_EQ(w.pos(), start);
    EXPECT_NE(w.playback(), nullptr);
}

TEST(RingWindow, EmptySoundListOpensAndPlaysNothing) {
    RingFixture f;
    f.sounds.clear();
    f.flag.clear();
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    w.Present();
    ASSERT_TRUE(SpinUntil([&] { return w.playback()->finished(); }));
    EXPECT_TRUE(f.player->plays().isEmpty());
}

TEST(RingWindow, FlagOneShufflesTheList) {
    RingFixture f;
    f.flag = QStringLiteral("1");
    f.sounds = {Sound(1, 1, "A"), Sound(1, 1, "B"), Sound(1, 1, "C")};
    RingWindow w(f.Context(), f.Add(test::Daily(), {7, 0, 0}, QStringLiteral("0")));
    w.Present();
    ASSERT_TRUE(SpinUntil([&] { return w.playback()->finished(); }));
    QStringList plays = f.player->plays();
    std::sort(plays.begin(), plays.end());
    EXPECT_EQ(plays, QStringList({"A", "B", "C"}));
}
