#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "core/ClockHelper.h"
#include "core/Scheduler.h"
#include "core/TaskStore.h"
#include "ui/DesktopShell.h"
#include "ui/GbkLengthValidator.h"
#include "ui/LinkLabel.h"
#include "ui/TimeEntryField.h"

namespace tolvane::ui {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A plain clock face, so that the notification area never shows an empty square when the
// program's own pictures are missing.
QIcon FallbackIcon() {
    QIcon icon;
    for (int size : {16, 24}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
        p.setBrush(QColor(0xF4, 0xC4, 0x30));
        p.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
        const QPointF c(size / 2.0, size / 2.0);
        p.drawLine(c, c + QPointF(0, -size * 0.32));
        p.drawLine(c, c + QPointF(size * 0.25, 0));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

template <typename W>
W* Place(W* w, const char* name, int x, int y, int width, int height) {
    w->setObjectName(U(name));
    w->setGeometry(x, y, width, height);
    return w;
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(U(kTitle));
    buildControls();
    buildMenus();

    tray_ = new QSystemTrayIcon(services_.icon.isNull() ? FallbackIcon() : services_.icon, this);
    tray_->setObjectName(QStringLiteral("托盘图标"));
    tray_->setToolTip(QStringLiteral("Tolvane"));
    tray_->setContextMenu(trayMenu_);
    connect(tray_, &QSystemTrayIcon::activated, this, &MainWindow::trayActivated);
    setWindowIcon(tray_->icon());

    clockTimer_.setObjectName(QStringLiteral("时钟_状态条"));
    clockTimer_.setInterval(550);
    connect(&clockTimer_, &QTimer::timeout, this, &MainWindow::tickClock);
    clockTimer_.start();
}

MainWindow::~MainWindow() {
    if (tray_) tray_->hide();
}

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("客户区"));
    central->setFixedSize(380, 196);
    setCentralWidget(central);

    group_ = Place(new QGroupBox(U("快速添加任务"), central), "分组框1", 8, 8, 364, 112);
    typeLabel_ = Place(new QLabel(U("任务类型："), group_), "标签4", 8, 16, 73, 21);
    onceRadio_ = Place(new QRadioButton(U("一次性"), group_), "单选框_指定时间", 89, 16, 75, 21);
    onceRadio_->setChecked(true);
    countdownRadio_ = Place(new QRadioButton(U("倒计时"), group_), "单选框_倒计时", 180, 16, 75, 21);
    countdownRadio_->setEnabled(false);
    timeLabel_ = Place(new QLabel(U("响铃时间："), group_), "标签_时间", 8, 50, 73, 21);
    hourBox_ = new TimeEntryField(TimeEntryField::Kind::Hour, group_);
    hourBox_->setGeometry(89, 50, 27, 21);
    minuteBox_ = new TimeEntryField(TimeEntryField::Kind::Minute, group_);
    minuteBox_->setGeometry(139, 50, 27, 21);
    secondBox_ = new TimeEntryField(TimeEntryField::Kind::Second, group_);
    secondBox_->setGeometry(190, 50, 27, 21);
    nowLink_ = Place(new LinkLabel(U("设为当前时间"), group_), "超级链接框1", 249, 50, 95, 21);
    promptCheck_ = Place(new QCheckBox(U("提示语："), group_), "选择框_提示语", 8, 80, 73, 21);
    promptBox_ = Place(new QLineEdit(group_), "编辑框_提示语", 89, 80, 264, 21);
    promptBox_->setValidator(new GbkLengthValidator(100, promptBox_));
    promptBox_->setEnabled(false);

    // The independent-alarm and play-count rows: kept hidden and disabled, they hold their
    // first contents, which quick add reads into field E.
    ownSoundCheck_ = Place(new QCheckBox(U("独立闹铃："), group_), "选择框_独立闹铃", 8, 110, 81, 21);
    ownSoundBox_ = Place(new QLineEdit(U("使用全局闹铃"), group_), "编辑框_独立闹铃", 89, 110, 230, 21);
    ownSoundBox_->setMaxLength(511);
    QPalette grey = ownSoundBox_->palette();
    grey.setColor(QPalette::Text, QColor(TimeEntryField::kPlaceholderGrey));
    ownSoundBox_->setPalette(grey);
    auto* browse = Place(new QPushButton(U("…"), group_), "按钮_浏览闹铃文件", 323, 110, 30, 21);
    auto* countLabel = Place(new QLabel(U("闹铃播放次数："), group_), "标签5", 8, 140, 97, 21);
    playCountBox_ = Place(new QLineEdit(QStringLiteral("1"), group_), "编辑框_播放次数", 105, 140, 40, 21);
    playCountBox_->setMaxLength(3);
    auto* timesLabel = Place(new QLabel(U("次"), group_), "标签1", 150, 140, 20, 21);
    auto* testLink = Place(new LinkLabel(U("测试铃声"), group_), "超级链接框_测试铃声", 180, 140, 60, 21);
    for (QWidget* w : std::initializer_list<QWidget*>{ownSoundCheck_, ownSoundBox_, browse, countLabel,
                                                      playCountBox_, timesLabel, testLink}) {
        w->setEnabled(false);
        w->hide();
    }

    feedbackLink_ = Place(new LinkLabel(U("错误反馈"), central), "超级链接框2", 284, 7, 72, 19);
    feedbackLink_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The link sits on the group box's frame line: keep it above the frame.
    feedbackLink_->raise();
    feedbackLink_->setAutoFillBackground(true);
    hideButton_ = Place(new QPushButton(U("缩小到托盘"), central), "按钮_缩小到托盘", 8, 128, 96, 33);
    okButton_ = Place(new QPushButton(U("确定并保存"), central), "按钮_OK", 276, 128, 96, 33);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("状态条1"));
    statusBar_->setSizeGripEnabled(false);
    clockPanel_ = new QLabel(QStringLiteral("00:00:00"), statusBar_);
    clockPanel_->setObjectName(QStringLiteral("状态条1_时间"));
    clockPanel_->setFixedWidth(65);
    messagePanel_ = new QLabel(U(kWelcome), statusBar_);
    messagePanel_->setObjectName(QStringLiteral("状态条1_信息"));
    statusBar_->addWidget(clockPanel_);
    statusBar_->addWidget(messagePanel_, 1);
    setStatusBar(statusBar_);

    setTabOrder(onceRadio_, countdownRadio_);
    setTabOrder(countdownRadio_, hourBox_);
    setTabOrder(hourBox_, minuteBox_);
    setTabOrder(minuteBox_, secondBox_);
    setTabOrder(secondBox_, promptCheck_);
    setTabOrder(promptCheck_, promptBox_);
    setTabOrder(promptBox_, hideButton_);
    setTabOrder(hideButton_, okButton_);
    onceRadio_->setFocus();

    connect(onceRadio_, &QRadioButton::clicked, this, [this] { timeLabel_->setText(U("响铃时间：")); });
    connect(countdownRadio_, &QRadioButton::clicked, this, [this] { timeLabel_->setText(U("倒数时间：")); });
    connect(nowLink_, &LinkLabel::pressed, this, &MainWindow::setCurrentTime);
    connect(promptCheck_, &QCheckBox::clicked, this, [this] { promptBox_->setEnabled(promptCheck_->isChecked()); });
    connect(hideButton_, &QPushButton::clicked, this, &MainWindow::HideToTray);
    connect(feedbackLink_, &LinkLabel::pressed, this, &MainWindow::openFeedbackPage);
    connect(okButton_, &QPushButton::clicked, this, &MainWindow::quickAdd);
}

void MainWindow::buildMenus() {
    // The task manager, alarm sound manager, settings and About windows are opened from
    // these items once they exist; until then the items do nothing.
    QMenu* tools = menuBar()->addMenu(U("工具(&T)"));
    tools->setObjectName(QStringLiteral("菜单_工具"));
    tools->addAction(U("任务管理器(&M)"))->setObjectName(QStringLiteral("菜单_任务管理器"));
    tools->addAction(U("闹铃管理(&S)"))->setObjectName(QStringLiteral("菜单_闹铃管理"));
    tools->addAction(U("程序设置(&C)"))->setObjectName(QStringLiteral("菜单_程序设置"));
    tools->addSeparator();
    QAction* toolbox = tools->addAction(U("Tolvane实用工具箱(&T)..."));
    toolbox->setObjectName(QStringLiteral("菜单_实用工具箱"));
    connect(toolbox, &QAction::triggered, this, &MainWindow::startToolbox);

    QMenu* help = menuBar()->addMenu(U("帮助(&H)"));
    help->setObjectName(QStringLiteral("菜单_帮助"));
    help->addAction(U("关于Tolvane(&A)"))->setObjectName(QStringLiteral("菜单_关于"));

    // The third menu is never on the menu bar: it is the notification-area icon's pop-up.
    trayMenu_ = new QMenu(U("托盘菜单"), this);
    trayMenu_->setObjectName(QStringLiteral("托盘菜单"));
    QAction* show = trayMenu_->addAction(U("显示主界面"));
    show->setObjectName(QStringLiteral("托盘_显示主界面"));
    connect(show, &QAction::triggered, this, &MainWindow::ShowFromTray);
    trayMenu_->addSeparator();
    trayMenu_->addAction(U("任务管理器(&M)"))->setObjectName(QStringLiteral("托盘_任务管理器"));
    trayMenu_->addAction(U("闹铃管理(&S)"))->setObjectName(QStringLiteral("托盘_闹铃管理"));
    trayMenu_->addAction(U("程序设置(&C)"))->setObjectName(QStringLiteral("托盘_程序设置"));
    trayMenu_->addSeparator();
    QAction* trayToolbox = trayMenu_->addAction(U("Tolvane实用工具箱(&T)..."));
    trayToolbox->setObjectName(QStringLiteral("托盘_实用工具箱"));
    connect(trayToolbox, &QAction::triggered, this, &MainWindow::startToolbox);
    trayMenu_->addSeparator();
    QAction* quit = trayMenu_->addAction(U("退出程序"));
    quit->setObjectName(QStringLiteral("托盘_退出程序"));
    connect(quit, &QAction::triggered, this, &MainWindow::exitProgram);
}

void MainWindow::Created() {
    services_.scheduler->EnsureTaskStore();
    // Shown even without a tray host: the icon appears by itself if one starts later.
    tray_->show();
    if (!services_.trayAvailable || !services_.trayAvailable()) noteNoTray();
    services_.scheduler->Start();
}

void MainWindow::quickAdd() {
    QByteArray b(2, '\0');
    b[0] = 1;
    b[1] = countdownRadio_->isChecked() ? char(kCountdown) : char(kOnce);

    QByteArray c;
    for (const TimeEntryField* box : {hourBox_, minuteBox_, secondBox_})
        c.append(static_cast<char>(box->showsPlaceholder() ? 0 : box->value()));

    // The prompt text is stored even when its check box is off; the leading flag decides.
    const QString d = (promptCheck_->isChecked() ? QStringLiteral("1") : QStringLiteral("0")) + promptBox_->text();

    const bool ownSoundGrey = ownSoundBox_->palette().color(QPalette::Text).rgb() ==
                              (0xFF000000u | TimeEntryField::kPlaceholderGrey);
    const QString e = (ownSoundCheck_->isChecked() ? QStringLiteral("1") : QStringLiteral("0")) + QLatin1Char('|') +
                      playCountBox_->text() + QLatin1Char('|') + (ownSoundGrey ? QString() : ownSoundBox_->text());

    TaskStore& store = *services_.store;
    if (!store.Open()) {
        showAddFailed();
        return;
    }
    const TaskFields fields{b, c, d, e};
    if (b[1] == char(kOnce)) {
        if (!store.AddRecord(fields)) {
            showAddFailed();
            return;
        }
    } else {
        // Record 1 is the countdown slot.
        if (!store.UpdateRecord(1, fields)) {
            showAddFailed();
            return;
        }
        services_.scheduler->setCountdownFlag(1);
    }
    if (services_.refreshTaskList) services_.refreshTaskList();
    services_.scheduler->RescanTasks();
}

void MainWindow::showAddFailed() {
    QMessageBox box(QMessageBox::Critical, U("快速添加任务"), U("任务添加失败！"), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("消息框_快速添加任务"));
    box.exec();
}

void MainWindow::setCurrentTime() {
    for (TimeEntryField* box : {hourBox_, minuteBox_, secondBox_}) box->gotFocus();
    TimeTriple now;
    ClockHelper(*services_.clock).NowTriple(now);
    hourBox_->setNumber(now.hour);
    minuteBox_->setNumber(now.minute);
    secondBox_->setNumber(now.second);
}

void MainWindow::tickClock() {
    clockPanel_->setText(ClockHelper(*services_.clock).NowText(QStringLiteral(":"), true));
    // A tray host that went away while the window was hidden would leave it unreachable.
    if (hiddenToTray_ && isHidden() && services_.trayAvailable && !services_.trayAvailable()) {
        hiddenToTray_ = false;
        showMinimized();
        noteNoTray();
    }
}

void MainWindow::HideToTray() {
    if (services_.trayAvailable && services_.trayAvailable()) {
        hiddenToTray_ = true;
        hide();
        return;
    }
    showMinimized();
    noteNoTray();
}

void MainWindow::ShowFromTray() {
    hiddenToTray_ = false;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::noteNoTray() {
    if (noTrayNoticed_) return;
    noTrayNoticed_ = true;
    messagePanel_->setText(U(kNoTrayNotice));
}

void MainWindow::trayActivated(QSystemTrayIcon::ActivationReason reason) {
    // The pop-up menu on the right button is the icon's context menu; a single left click
    // does nothing.
    if (reason != QSystemTrayIcon::DoubleClick) return;
    if (isVisible() && !isMinimized())
        HideToTray();
    else
        ShowFromTray();
}

void MainWindow::startToolbox() {
    // A missing or broken toolbox is not reported.
    (void)services_.shell->StartDetached(services_.runDir + QStringLiteral("/tvxkit"), services_.runDir);
}

void MainWindow::openFeedbackPage() { (void)services_.shell->OpenUrl(QUrl(QString::fromLatin1(kFeedbackUrl))); }

void MainWindow::exitProgram() {
    if (exiting_) return;
    exiting_ = true;
    tray_->hide();
    if (services_.quit) services_.quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box always ends the program: no question, no hiding.
    exitProgram();
    event->accept();
}

}  // namespace tolvane::ui
