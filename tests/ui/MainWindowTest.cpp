// The main window against a real task store in a temporary folder and a fake clock: quick
// add's records, the current-time link, the status clock, the tray icon's behaviour with
// and without a notification area, the toolbox and feedback commands, and closing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "UiTestSupport.h"
#include "core/Scheduler.h"
#include "core/TaskStore.h"
#include "platform/Clock.h"
#include "ui/DesktopShell.h"
#include "ui/LinkLabel.h"
#include "ui/MainWindow.h"
#include "ui/TimeEntryField.h"

using namespace tolvane;
using namespace tolvane::uitest;
using tolvane::ui::LinkLabel;
using tolvane::ui::MainWindow;
using tolvane::ui::TimeEntryField;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(static_cast<char>(v));
    return b;
}

bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QTest::qWait(10);
    }
    return true;
}

class QuietPresenter final : public RingPresenter {
public:
    void Ring(const PendingAlarm&) override {}
};

class FakeShell final : public ui::DesktopShell {
public:
    bool OpenUrl(const QUrl& url) override {
        urls << url;
        return true;
    }
    bool StartDetached(const QString& program, const QString& workDir) override {
        started << program;
        workDirs << workDir;
        return false;  // as if the toolbox were missing: the window must not mind
    }
    QList<QUrl> urls;
    QStringList started, workDirs;
};

// One main window over a fresh task.edb (or none) in a temporary folder.
struct MainWindowFixture {
    explicit MainWindowFixture(bool withStore = true) {
        if (withStore) scheduler.EnsureTaskStore();
        ui::MainWindowServices s;
        s.store = &store;
        s.scheduler = &scheduler;
        s.clock = &clock;
        s.shell = &shell;
        s.runDir = dir.path();
        s.trayAvailable = [this] { return trayAvailable; };
        s.quit = [this] { ++quits; };
        window = std::make_unique<MainWindow>(s);
    }
    template <typename T>
    T* find(const char* name) {
        T* w = window->findChild<T*>(U(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // Types into a time box as a user would: focus it, then the digits.
    void typeTime(const char* box, const QString& digits) {
        auto* field = find<TimeEntryField>(box);
        Focus(field);
        TypeText(field, digits);
    }
    // Clicks quick add and waits for the rescan it asks for.
    void quickAddAndWaitForScan() {
        const uint64_t before = scheduler.scansCompleted();
        click("按钮_OK");
        ASSERT_TRUE(WaitFor([&] { return scheduler.scansCompleted() > before; }));
    }
    QString messagePanel() { return find<QLabel>("状态条1_信息")->text(); }

    QTemporaryDir dir;
    platform::FakeClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0))};
    TaskStore store{dir.path()};
    QuietPresenter presenter;
    Scheduler scheduler{store, clock, presenter, std::chrono::milliseconds(20)};
    FakeShell shell;
    bool trayAvailable = true;
    int quits = 0;
    std::unique_ptr<MainWindow> window;
};

// Accepts the next modal message box and reports its title, text and icon.
struct MessageBoxCatcher {
    MessageBoxCatcher() {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                ++seen;
                box->accept();
            }
        });
        poll.start(10);
    }
    QTimer poll;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int seen = 0;
};

TEST(MainWindowQuickAdd, UntouchedPanelAddsEnabledOnceTaskAtMidnightEachClick) {
    MainWindowFixture f;
    ASSERT_EQ(f.store.RecordCount(), 1);
    f.quickAddAndWaitForScan();
    f.quickAddAndWaitForScan();
    ASSERT_EQ(f.store.RecordCount(), 3);
    for (int n : {2, 3}) {
        EXPECT_EQ(f.store.ReadB(n), Bytes({1, 0})) << n;
        EXPECT_EQ(f.store.ReadC(n), Bytes({0, 0, 0})) << n;
        EXPECT_EQ(f.store.ReadD(n), QStringLiteral("0")) << n;
        EXPECT_EQ(f.store.ReadE(n), QStringLiteral("0|1|")) << n;
    }
    EXPECT_EQ(f.scheduler.countdownFlag(), 0);
    // The panel keeps its contents.
    EXPECT_TRUE(f.find<TimeEntryField>("编辑框_时")->showsPlaceholder());
}

TEST(MainWindowQuickAdd, TypedTimeAndChinesePromptAreStoredWithTheirFlag) {
    MainWindowFixture f;
    ASSERT_TRUE(ShowActive(f.window.get()));
    f.typeTime("编辑框_时", QStringLiteral("7"));
    f.typeTime("编辑框_分", QStringLiteral("30"));
    f.typeTime("编辑框_秒", QStringLiteral("05"));
    auto* check = f.find<QCheckBox>("选择框_提示语");
    auto* prompt = f.find<QLineEdit>("编辑框_提示语");
    EXPECT_FALSE(prompt->isEnabled());
    QTest::mouseClick(check, Qt::LeftButton);
    ASSERT_TRUE(prompt->isEnabled());
    Focus(prompt);
    TypeText(prompt, U("起床了，go!"));
    f.quickAddAndWaitForScan();
    // Unchecking keeps the text, which is still stored, after a leading "0".
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(prompt->isEnabled());
    f.quickAddAndWaitForScan();

    ASSERT_EQ(f.store.RecordCount(), 3);
    EXPECT_EQ(f.store.ReadC(2), Bytes({7, 30, 5}));
    EXPECT_EQ(f.store.ReadD(2), U("1起床了，go!"));
    EXPECT_EQ(f.store.ReadD(3), U("0起床了，go!"));
    EXPECT_EQ(f.store.ReadE(3), QStringLiteral("0|1|"));
}

TEST(MainWindowQuickAdd, OneBoxLeftToItsHintCountsZero) {
    MainWindowFixture f;
    ASSERT_TRUE(ShowActive(f.window.get()));
    f.typeTime("编辑框_时", QStringLiteral("23"));
    // Tab through the minute box without typing: it goes back to its hint.
    f.typeTime("编辑框_分", QString());
    f.typeTime("编辑框_秒", QStringLiteral("9"));
    Focus(f.find<QPushButton>("按钮_OK"));
    EXPECT_TRUE(f.find<TimeEntryField>("编辑框_分")->showsPlaceholder());
    f.quickAddAndWaitForScan();
    EXPECT_EQ(f.store.ReadC(2), Bytes({23, 0, 9}));
}

TEST(MainWindowQuickAdd, CountdownModeOverwritesTheCountdownSlotAndSetsTheFlag) {
    MainWindowFixture f;
    ASSERT_TRUE(ShowActive(f.window.get()));
    auto* countdown = f.find<QRadioButton>("单选框_倒计时");
    EXPECT_FALSE(countdown->isEnabled());
    countdown->setEnabled(true);  // nothing in the program enables it; a test may
    QTest::mouseClick(countdown, Qt::LeftButton);
    EXPECT_EQ(f.find<QLabel>("标签_时间")->text(), U("倒数时间："));
    f.typeTime("编辑框_时", QStringLiteral("0"));
    f.typeTime("编辑框_分", QStringLiteral("5"));
    f.typeTime("编辑框_秒", QStringLiteral("0"));
    f.quickAddAndWaitForScan();

    EXPECT_EQ(f.store.RecordCount(), 1);  // nothing appended
    EXPECT_EQ(f.store.ReadB(1), Bytes({1, 5}));
    EXPECT_EQ(f.store.ReadC(1), Bytes({0, 5, 0}));
    EXPECT_EQ(f.store.ReadD(1), QStringLiteral("0"));
    EXPECT_EQ(f.store.ReadE(1), QStringLiteral("0|1|"));
    EXPECT_EQ(f.scheduler.countdownFlag(), 1);
    // The rescan planned the countdown slot alone.
    const auto pending = f.scheduler.pendingAlarms();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].record, 1);
    EXPECT_EQ(pending[0].type, 5);

    QTest::mouseClick(f.find<QRadioButton>("单选框_指定时间"), Qt::LeftButton);
    EXPECT_EQ(f.find<QLabel>("标签_时间")->text(), U("响铃时间："));
}

TEST(MainWindowQuickAdd, FailuresShowTheErrorAndAskForNoScan) {
    {
        // No task.edb at all: the store cannot be opened.
        MainWindowFixture f(/*withStore=*/false);
        MessageBoxCatcher catcher;
        const uint64_t scans = f.scheduler.scansCompleted();
        f.click("按钮_OK");
        ASSERT_TRUE(WaitFor([&] { return catcher.seen == 1; }));
        EXPECT_EQ(catcher.title, U("快速添加任务"));
        EXPECT_EQ(catcher.text, U("任务添加失败！"));
        EXPECT_EQ(catcher.icon, QMessageBox::Critical);
        QTest::qWait(50);
        EXPECT_EQ(f.scheduler.scansCompleted(), scans);
        EXPECT_FALSE(f.store.Exists());
    }
    {
        // A store without its countdown slot: the countdown update fails.
        MainWindowFixture f(/*withStore=*/false);
        ASSERT_TRUE(f.store.Create());
        auto* countdown = f.find<QRadioButton>("单选框_倒计时");
        countdown->setEnabled(true);
        countdown->setChecked(true);
        MessageBoxCatcher catcher;
        f.click("按钮_OK");
        ASSERT_TRUE(WaitFor([&] { return catcher.seen == 1; }));
        EXPECT_EQ(catcher.text, U("任务添加失败！"));
        EXPECT_EQ(f.scheduler.countdownFlag(), 0);
        EXPECT_EQ(f.store.RecordCount(), 0);
    }
}

TEST(MainWindowQuickAdd, PromptBoxHoldsAtMostOneHundredGbkBytes) {
    MainWindowFixture f;
    ASSERT_TRUE(ShowActive(f.window.get()));
    auto* prompt = f.find<QLineEdit>("编辑框_提示语");
    prompt->setEnabled(true);
    const struct { QString typed; QString left; } cases[] = {
        {QString(50, QChar(u'响')), QString(50, QChar(u'响'))},
        {QString(51, QChar(u'响')), QString(50, QChar(u'响'))},
        {QString(101, QLatin1Char('a')), QString(100, QLatin1Char('a'))},
        // The Chinese character would need two bytes; the letter after it still fits.
        {QString(99, QLatin1Char('a')) + U("铃b"), QString(99, QLatin1Char('a')) + U("b")},
        {QString(98, QLatin1Char('a')) + U("铃b"), QString(98, QLatin1Char('a')) + U("铃")},
    };
    for (const auto& c : cases) {
        prompt->clear();
        Focus(prompt);
        TypeText(prompt, c.typed);
        EXPECT_EQ(prompt->text().toStdString(), c.left.toStdString()) << c.typed.size();
    }
}

TEST(MainWindow, CurrentTimeLinkWritesUnpaddedNumbersInBlack) {
    MainWindowFixture f;
    f.clock.set(9, 5, 7);
    QTest::mouseClick(f.find<LinkLabel>("超级链接框1"), Qt::LeftButton);
    const struct { const char* box; const char* text; } cases[] = {
        {"编辑框_时", "9"}, {"编辑框_分", "5"}, {"编辑框_秒", "7"}};
    for (const auto& c : cases) {
        auto* box = f.find<TimeEntryField>(c.box);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.text)) << c.box;
        EXPECT_FALSE(box->showsPlaceholder()) << c.box;
    }
    f.quickAddAndWaitForScan();
    EXPECT_EQ(f.store.ReadC(2), Bytes({9, 5, 7}));
}

TEST(MainWindow, StatusClockShowsPaddedTimeAndFollowsTheClockWhileHidden) {
    MainWindowFixture f;
    auto* panel = f.find<QLabel>("状态条1_时间");
    EXPECT_EQ(panel->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(f.messagePanel(), U(MainWindow::kWelcome));
    f.clock.set(0, 0, 5);
    EXPECT_TRUE(WaitFor([&] { return panel->text() == QStringLiteral("00:00:05"); }, 1500));
    f.window->HideToTray();
    f.clock.set(13, 4, 59);
    EXPECT_TRUE(WaitFor([&] { return panel->text() == QStringLiteral("13:04:59"); }, 1500));
}

TEST(MainWindowTray, HideButtonDoubleClickAndShowItemMoveTheWindow) {
    MainWindowFixture f;
    ASSERT_TRUE(ShowActive(f.window.get()));
    f.click("按钮_缩小到托盘");
    EXPECT_TRUE(f.window->isHidden());
    QSystemTrayIcon* tray = f.window->trayIcon();
    emit tray->activated(QSystemTrayIcon::Trigger);  // a single click does nothing
    EXPECT_TRUE(f.window->isHidden());
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(f.window->isVisible());
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(f.window->isHidden());
    for (QAction* a : f.window->trayMenu()->actions())
        if (a->text() == U("显示主界面")) a->trigger();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(f.window->trayIcon()->contextMenu(), f.window->trayMenu());
    EXPECT_EQ(f.messagePanel(), U(MainWindow::kWelcome));
}

TEST(MainWindowTray, WithoutNotificationAreaHidingMinimizesAndSaysSoOnce) {
    MainWindowFixture f;
    f.trayAvailable = false;
    ASSERT_TRUE(ShowActive(f.window.get()));
    f.click("按钮_缩小到托盘");
    EXPECT_FALSE(f.window->isHidden());
    EXPECT_TRUE(f.window->isMinimized());
    EXPECT_EQ(f.messagePanel(), U(MainWindow::kNoTrayNotice));
    f.find<QLabel>("状态条1_信息")->setText(QStringLiteral("x"));
    f.window->showNormal();
    f.click("按钮_缩小到托盘");
    EXPECT_TRUE(f.window->isMinimized());
    EXPECT_EQ(f.messagePanel(), QStringLiteral("x"));  // said once only
    // A double click (if an icon were there at all) brings it back.
    emit f.window->trayIcon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(f.window->isMinimized());
}

TEST(MainWindowTray, WindowHiddenWhenTheNotificationAreaGoesAwayComesBackMinimized) {
    MainWindowFixture f;
    ASSERT_TRUE(ShowActive(f.window.get()));
    f.click("按钮_缩小到托盘");
    ASSERT_TRUE(f.window->isHidden());
    f.trayAvailable = false;
    EXPECT_TRUE(WaitFor([&] { return f.window->isVisible(); }, 1500));
    EXPECT_TRUE(f.window->isMinimized());
    EXPECT_EQ(f.messagePanel(), U(MainWindow::kNoTrayNotice));
}

TEST(MainWindowTray, CreatedMakesTheStoreAndStartsTheScheduler) {
    MainWindowFixture f(/*withStore=*/false);
    f.trayAvailable = false;
    f.window->Created();
    EXPECT_TRUE(f.store.Exists());
    EXPECT_EQ(f.store.RecordCount(), 1);
    EXPECT_TRUE(WaitFor([&] { return f.scheduler.scansCompleted() >= 1; }));
    EXPECT_TRUE(f.window->trayIcon()->isVisible());
    EXPECT_EQ(f.window->trayIcon()->toolTip(), QStringLiteral("Tolvane"));
    EXPECT_FALSE(f.window->trayIcon()->icon().isNull());
    // No notification area: the status bar says so from the start.
    EXPECT_EQ(f.messagePanel(), U(MainWindow::kNoTrayNotice));
}

TEST(MainWindow, ToolboxItemsStartTvxkitOfTheRunFolderAndFeedbackOpensAPage) {
    MainWindowFixture f;
    QMenu* tools = f.find<QMenu>("菜单_工具");
    for (QMenu* menu : {tools, f.window->trayMenu()})
        for (QAction* a : menu->actions())
            if (a->text() == U("Tolvane实用工具箱(&T)...")) a->trigger();
    const QString tvxkit = f.dir.path() + QStringLiteral("/tvxkit");
    EXPECT_EQ(f.shell.started, QStringList({tvxkit, tvxkit}));
    EXPECT_EQ(f.shell.workDirs, QStringList({f.dir.path(), f.dir.path()}));

    QTest::mouseClick(f.find<LinkLabel>("超级链接框2"), Qt::LeftButton);
    ASSERT_EQ(f.shell.urls.size(), 1);
    EXPECT_EQ(f.shell.urls[0].scheme(), QStringLiteral("https"));
}

TEST(MainWindow, CloseBoxAndExitItemEndTheProgramAndTakeDownTheIcon) {
    {
        MainWindowFixture f;
        f.window->Created();
        ASSERT_TRUE(f.window->trayIcon()->isVisible());
        ASSERT_TRUE(ShowActive(f.window.get()));
        f.window->close();
        EXPECT_EQ(f.quits, 1);
        EXPECT_FALSE(f.window->trayIcon()->isVisible());
    }
    {
        MainWindowFixture f;
        f.window->HideToTray();
        for (QAction* a : f.window->trayMenu()->actions())
            if (a->text() == U("退出程序")) a->trigger();
        EXPECT_EQ(f.quits, 1);
    }
}

}  // namespace
