#pragma once
// The toolbox's launcher window, the program's first window.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/Clock.h"
#include "platform/HttpGet.h"
#include "platform/SystemClockSetter.h"
#include "toolbox/DateCalcWindow.h"
#include "toolbox/GameReminder.h"
#include "toolbox/UserDialogs.h"

class QLabel;
class QPushButton;

namespace tolvane::toolbox {

// What the toolbox reaches the outside world through; main() owns the real ones.
struct ToolboxContext {
    const platform::Clock& clock;
    platform::HttpGetter& http;
    platform::SystemClockSetter& clockSetter;
    UserDialogs& dialogs;
    ReminderSound& sound;
    ToolboxGlobals& globals;
    QString runDir;  // folder of config.ini, without a trailing separator
};

// "网络对时" runs a NetworkTimeSync against the time page named in config.ini;
// "日期时间计算" opens the calculator, or brings the open one to the front; "游戏时间提醒"
// is disabled. The other windows close with it, and `closed` is emitted when it closes.
class ToolboxWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ToolboxWindow(ToolboxContext context, QWidget* parent = nullptr);

    DateCalcWindow* dateCalcWindow() const { return dateCalc_; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runNetworkTimeSync();
    void openDateCalc();
    void openGameReminder();

    ToolboxContext context_;
    QPointer<DateCalcWindow> dateCalc_;
};

// The banner of the launcher, drawn at `size`.
QPixmap DrawBanner(const QSize& size);

}  // namespace tolvane::toolbox
