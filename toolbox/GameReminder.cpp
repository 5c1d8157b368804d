#include "toolbox/GameReminder.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/IniFile.h"
#include "toolbox/IntegerTextInput.h"
#include "toolbox/WindowFrame.h"

namespace tolvane::toolbox {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                 int h) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(x, y, w, h);
    return label;
}

}  // namespace

GameReminderAlertWindow::GameReminderAlertWindow(ReminderSound& sound, QWidget* parent)
    : QDialog(parent), sound_(sound) {
    setObjectName(QStringLiteral("GameReminderAlertWindow"));
    setWindowTitle(QStringLiteral("游戏时间提醒"));
    SetFixedOuterSize(this, 203, 145);
    AddLabel(this, "标签1", QStringLiteral("游戏时间提醒"), 26, 8, 176, 32);
    auto* button = new QPushButton(QStringLiteral("知道了"), this);
    button->setObjectName(QStringLiteral("按钮1"));
    button->setGeometry(46, 56, 104, 40);
    // A default button would close the dialog on Enter; this one does nothing at all.
    button->setAutoDefault(false);
    sound_.play(QStringLiteral("默认闹铃2.mp3"), 10);
}

GameReminderAlertWindow::~GameReminderAlertWindow() { sound_.stop(); }

GameReminderSetupWindow::GameReminderSetupWindow(const platform::Clock& clock,
                                                 ReminderSound& sound, ToolboxGlobals& globals,
                                                 const QString& runDir, QWidget* parent)
    : QWidget(parent, Qt::Window), clock_(clock), sound_(sound), globals_(globals) {
    setObjectName(QStringLiteral("GameReminderSetupWindow"));
    setWindowTitle(QStringLiteral("游戏时间提醒"));
    SetFixedOuterSize(this, 254, 136);

    AddLabel(this, "标签4", QStringLiteral("被监视进程名称："), 6, 10, 104, 16);
    processName_ = new QLineEdit(this);
    processName_->setObjectName(QStringLiteral("编辑框_进程名"));
    processName_->setGeometry(104, 8, 134, 16);
    AddLabel(this, "标签1", QStringLiteral("进程启动"), 8, 40, 64, 16);
    delay_ = new QLineEdit(this);
    delay_->setObjectName(QStringLiteral("编辑框_时间"));
    delay_->setGeometry(65, 37, 31, 25);
    delay_->setAlignment(Qt::AlignCenter);
    // Two typed characters at most, but a longer value from the file is shown whole.
    IntegerTextInput::Attach(delay_, {.allowMinus = false, .maxTypedChars = 2});
    delay_->installEventFilter(this);
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("组合框1"));
    unit_->setGeometry(96, 37, 64, 25);
    unit_->addItems({QStringLiteral("小时"), QStringLiteral("分钟"), QStringLiteral("秒钟")});
    unit_->setCurrentIndex(1);
    AddLabel(this, "标签2", QStringLiteral("后开始监视"), 166, 40, 72, 16);
    auto* ok = new QPushButton(QStringLiteral("监视并保存"), this);
    ok->setObjectName(QStringLiteral("按钮_OK"));
    ok->setGeometry(80, 72, 88, 26);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("时钟1"));
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &GameReminderSetupWindow::CheckReminder);

    globals_.configPath = runDir + QStringLiteral("/config.ini");
    const platform::IniFile ini(globals_.configPath);
    processName_->setText(ini.read(QStringLiteral("Toolbox"), QStringLiteral("Name")));
    delay_->setText(ini.read(QStringLiteral("Toolbox"), QStringLiteral("Time")));
}

bool GameReminderSetupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == delay_ && event->type() == QEvent::FocusIn)
        // Selecting at once would be undone by the click that gave the focus.
        QTimer::singleShot(0, delay_, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

void GameReminderSetupWindow::CheckReminder() {
    const QTime now = clock_.now().time;
    const ReminderTarget& target = globals_.reminderTarget;
    if (now.hour() != target.hour || now.minute() != target.minute ||
        now.second() != target.second)
        return;
    {
        GameReminderAlertWindow alert(sound_, this);
        alert.exec();
    }
    timer_->stop();
    timer_->setInterval(0);
}

}  // namespace tolvane::toolbox
