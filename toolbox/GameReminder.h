#pragma once
// The game time reminder as it stands: a setup window that shows the watched process's
// name and a delay read from config.ini, and an alert window. Nothing is watched or saved
// and no control of the launcher opens it.
#include <QDialog>
#include <QString>
#include <QWidget>

#include "platform/Clock.h"

class QComboBox;
class QLineEdit;
class QTimer;

namespace tolvane::toolbox {

// The time of day the reminder's check compares with the clock; 0:00:00 and never changed.
struct ReminderTarget {
    quint8 hour = 0;
    quint8 minute = 0;
    quint8 second = 0;
};

// Process-wide values of the toolbox, made at start by main() and released at its exit.
struct ToolboxGlobals {
    QString configPath;  // set each time the setup window opens
    ReminderTarget reminderTarget;
};

// Playing the alert's sound. The alert starts it when created and stops it when destroyed.
class ReminderSound {
public:
    virtual ~ReminderSound() = default;
    virtual void play(const QString& fileName, int times) = 0;
    virtual void stop() = 0;
};

// A sound that plays nothing.
class SilentReminderSound final : public ReminderSound {
public:
    void play(const QString&, int) override {}
    void stop() override {}
};

// The alert: "游戏时间提醒" with a "知道了" button that does nothing; closed with its
// close box. Plays "默认闹铃2.mp3" (relative to the current folder) 10 times while it
// exists.
class GameReminderAlertWindow final : public QDialog {
    Q_OBJECT
public:
    explicit GameReminderAlertWindow(ReminderSound& sound, QWidget* parent = nullptr);
    ~GameReminderAlertWindow() override;

private:
    ReminderSound& sound_;
};

// The setup window. On creation `globals.configPath` becomes `runDir` + "/config.ini" and
// the boxes show the `Name` and `Time` keys of its `Toolbox` section as read (empty when
// missing). "监视并保存" does nothing; the timer 时钟1 has period 0 and is never started.
class GameReminderSetupWindow final : public QWidget {
    Q_OBJECT
public:
    GameReminderSetupWindow(const platform::Clock& clock, ReminderSound& sound,
                            ToolboxGlobals& globals, const QString& runDir,
                            QWidget* parent = nullptr);

    // When the clock's hour, minute and second equal the reminder target: opens the alert
    // modally, then stops 时钟1.
    void CheckReminder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const platform::Clock& clock_;
    ReminderSound& sound_;
    ToolboxGlobals& globals_;
    QLineEdit* processName_;
    QLineEdit* delay_;
    QComboBox* unit_;
    QTimer* timer_;
};

}  // namespace tolvane::toolbox
