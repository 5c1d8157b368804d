// The game time reminder as it stands: its keys are read, and nothing more happens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/Clock.h"
#include "platform/GbkText.h"
#include "toolbox/GameReminder.h"

namespace tolvane::toolbox {
namespace {

class RecordingSound final : public ReminderSound {
public:
    void play(const QString& fileName, int times) override {
        events.push_back(QStringLiteral("play %1 %2").arg(fileName).arg(times));
    }
    void stop() override { events.push_back(QStringLiteral("stop")); }
    std::vector<QString> events;
};

class GameReminderTest : public ::testing::Test {
protected:
    void writeConfig(const QString& text) {
        QFile f(configPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(platform::ToGbk(text));
    }
    QByteArray configBytes() {
        QFile f(configPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString configPath() const { return dir.path() + QStringLiteral("/config.ini"); }
    std::unique_ptr<GameReminderSetupWindow> open() {
        return std::make_unique<GameReminderSetupWindow>(clock, sound, globals, dir.path());
    }
    static QLineEdit* box(QWidget& w, const char* name) {
        return w.findChild<QLineEdit*>(QString::fromUtf8(name));
    }

    QTemporaryDir dir;
    platform::FakeClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0))};
    RecordingSound sound;
    ToolboxGlobals globals;
};

TEST_F(GameReminderTest, ShowsTheToolboxKeysAsRead) {
    writeConfig(QStringLiteral("[config]\r\nName=别的\r\n[Toolbox]\r\nName=游戏.exe\r\nTime=120\r\n"));
    auto window = open();
    EXPECT_EQ(globals.configPath, configPath());
    EXPECT_EQ(box(*window, "编辑框_进程名")->text(), QStringLiteral("游戏.exe"));
    // The two-character limit is for typing only.
    EXPECT_EQ(box(*window, "编辑框_时间")->text(), QStringLiteral("120"));
    auto* unit = window->findChild<QComboBox*>(QStringLiteral("组合框1"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("分钟"));
    auto* timer = window->findChild<QTimer*>(QStringLiteral("时钟1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 0);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(GameReminderTest, MissingSectionOrFileOpensEmpty) {
    auto noFile = open();
    EXPECT_TRUE(box(*noFile, "编辑框_进程名")->text().isEmpty());
    EXPECT_TRUE(box(*noFile, "编辑框_时间")->text().isEmpty());
    writeConfig(QStringLiteral("[config]\r\nName=x\r\nTime=5\r\n"));
    auto noSection = open();
    EXPECT_TRUE(box(*noSection, "编辑框_进程名")->text().isEmpty());
    EXPECT_TRUE(box(*noSection, "编辑框_时间")->text().isEmpty());
}

TEST_F(GameReminderTest, DelayBoxRefusesMinusAndAThirdDigit) {
    auto window = open();
    QLineEdit* delay = box(*window, "编辑框_时间");
    delay->setFocus();
    QTest::keyClicks(delay, QStringLiteral("-1x-23"));
    EXPECT_EQ(delay->text(), QStringLiteral("12"));
    QTest::keyClick(delay, Qt::Key_Backspace);
    QTest::keyClicks(delay, QStringLiteral("9"));
    EXPECT_EQ(delay->text(), QStringLiteral("19"));
    // Typing over a selection replaces it.
    delay->selectAll();
    QTest::keyClicks(delay, QStringLiteral("7"));
    EXPECT_EQ(delay->text(), QStringLiteral("7"));
}

TEST_F(GameReminderTest, MonitorAndSaveChangesNothing) {
    const QString original = QStringLiteral("[Toolbox]\r\nName=游戏.exe\r\nTime=30\r\n");
    writeConfig(original);
    const QByteArray before = configBytes();
    auto window = open();
    box(*window, "编辑框_进程名")->setText(QStringLiteral("别的.exe"));
    box(*window, "编辑框_时间")->setText(QStringLiteral("45"));
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("按钮_OK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("监视并保存"));
    ok->click();
    EXPECT_EQ(configBytes(), before);
    EXPECT_EQ(box(*window, "编辑框_进程名")->text(), QStringLiteral("别的.exe"));
    EXPECT_EQ(box(*window, "编辑框_时间")->text(), QStringLiteral("45"));
}

TEST_F(GameReminderTest, CheckOpensTheAlertOnlyAtTheTarget) {
    auto window = open();
    window->CheckReminder();  // 09:00:00 is not the target
    EXPECT_TRUE(sound.events.empty());

    clock.set(0, 0, 0);
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    window->CheckReminder();
    EXPECT_EQ(sound.events, (std::vector<QString>{QStringLiteral("play 默认闹铃2.mp3 10"),
                                                  QStringLiteral("stop")}));
    EXPECT_FALSE(window->findChild<QTimer*>(QStringLiteral("时钟1"))->isActive());
}

}  // namespace
}  // namespace tolvane::toolbox
