#pragma once
// The first window of the alarm clock: quick add of a once (or countdown) task, a status
// bar with a running clock, the menus, and the notification-area icon through which the
// window is hidden and shown again. Closing the window ends the program.
//
// Without a notification area (no tray host on the desktop) a hidden window could never be
// shown again, so "缩小到托盘" then minimizes the window instead, and the status bar says
// once that no notification area was found.
//
// User-interface thread only. Everything the window reaches outside itself is handed in.
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

#include "platform/Clock.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace tolvane {
class Scheduler;
class TaskStore;
}  // namespace tolvane

namespace tolvane::ui {

class DesktopShell;
class LinkLabel;
class TimeEntryField;

struct MainWindowServices {
    TaskStore* store = nullptr;               // must outlive the window
    Scheduler* scheduler = nullptr;           // must outlive the window
    const platform::Clock* clock = nullptr;   // must outlive the window
    DesktopShell* shell = nullptr;            // must outlive the window
    QString runDir;                           // the program's folder, no trailing "/"
    QIcon icon;                               // the notification-area icon (16 and 24 px)
    // Whether the desktop has a notification area now; asked each time it matters.
    std::function<bool()> trayAvailable;
    // Ends the program with exit code 0; called when the window is closed or "退出程序".
    std::function<void()> quit;
    // Rebuilds the task manager's list; empty while no task manager is open.
    std::function<void()> refreshTaskList;
};

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Tolvane 2.0 Beta 岚绫会梦纪念版";
    static constexpr const char* kWelcome = "欢迎使用 Tolvane 2.0 Beta 岚绫会梦纪念版！";
    static constexpr const char* kNoTrayNotice = "未找到通知区域，“缩小到托盘”将改为最小化窗口。";
    static constexpr const char* kFeedbackUrl = "https://tolvane.example/feedback";

    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What follows the window's creation: makes the task store ready, puts up the
    // notification-area icon and starts the scheduler. Called once, by whoever made it.
    void Created();

    // The notification-area icon and the pop-up menu it shows.
    QSystemTrayIcon* trayIcon() const { return tray_; }
    QMenu* trayMenu() const { return trayMenu_; }

    // Hides the window to the notification area, or minimizes it when there is none.
    void HideToTray();
    // Shows the window again, restored and in front.
    void ShowFromTray();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void quickAdd();
    void setCurrentTime();
    void tickClock();
    void startToolbox();
    void openFeedbackPage();
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    void noteNoTray();
    void exitProgram();
    void showAddFailed();

    MainWindowServices services_;

    QGroupBox* group_ = nullptr;
    QLabel* typeLabel_ = nullptr;
    QRadioButton* onceRadio_ = nullptr;
    QRadioButton* countdownRadio_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    TimeEntryField* hourBox_ = nullptr;
    TimeEntryField* minuteBox_ = nullptr;
    TimeEntryField* secondBox_ = nullptr;
    LinkLabel* nowLink_ = nullptr;
    QCheckBox* promptCheck_ = nullptr;
    QLineEdit* promptBox_ = nullptr;
    QCheckBox* ownSoundCheck_ = nullptr;
    QLineEdit* ownSoundBox_ = nullptr;
    QLineEdit* playCountBox_ = nullptr;
    LinkLabel* feedbackLink_ = nullptr;
    QPushButton* hideButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* clockPanel_ = nullptr;
    QLabel* messagePanel_ = nullptr;
    QTimer clockTimer_;

    QMenu* trayMenu_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    bool noTrayNoticed_ = false;
    bool hiddenToTray_ = false;  // hidden by HideToTray and not shown since
    bool exiting_ = false;
};

}  // namespace tolvane::ui
