// The launcher: its controls, the calculator it opens, and the sync it runs against the
// page named in config.ini.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "FakeUserDialogs.h"
#include "LocalHttpServer.h"
#include "platform/GbkText.h"
#include "platform/HttpGet.h"
#include "platform/SystemClockSetter.h"
#include "toolbox/DateCalcWindow.h"
#include "toolbox/NetworkTimeSync.h"
#include "toolbox/ToolboxWindow.h"

namespace tolvane::toolbox {
namespace {

using testing::FakeUserDialogs;

void WriteGbkFile(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(platform::ToGbk(text));
}

class ToolboxWindowTest : public ::testing::Test {
protected:
    QPushButton* button(const char* name) {
        auto* b = window.findChild<QPushButton*>(QString::fromUtf8(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QString configPath() const { return dir.path() + QStringLiteral("/config.ini"); }

    QTemporaryDir dir;
    platform::FakeClock clock;
    platform::QtHttpGetter http{3000};
    platform::FakeClockSetter setter;
    FakeUserDialogs dialogs;
    SilentReminderSound sound;
    ToolboxGlobals globals;
    ToolboxWindow window{{clock, http, setter, dialogs, sound, globals, dir.path()}};
};

TEST_F(ToolboxWindowTest, HasItsBannerAndThreeButtons) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tolvane工具箱"));
    auto* banner = window.findChild<QLabel*>(QStringLiteral("图片框1"));
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->geometry(), QRect(0, -5, 375, 100));
    EXPECT_FALSE(banner->pixmap().isNull());
    const struct {
        const char* name;
        const char* caption;
        int x;
        bool enabled;
    } buttons[] = {{"按钮1", "网络对时", 16, true},
                   {"按钮2", "日期时间计算", 140, true},
                   {"按钮3", "游戏时间提醒", 264, false}};
    for (const auto& b : buttons) {
        EXPECT_EQ(button(b.name)->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(button(b.name)->geometry(), QRect(b.x, 107, 88, 48));
        EXPECT_EQ(button(b.name)->isEnabled(), b.enabled) << b.name;
    }
}

TEST_F(ToolboxWindowTest, SecondClickBringsTheOpenCalculatorBack) {
    window.show();
    button("按钮2")->click();
    DateCalcWindow* first = window.dateCalcWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->showMinimized();
    button("按钮2")->click();
    EXPECT_EQ(window.dateCalcWindow(), first);
    EXPECT_EQ(window.findChildren<DateCalcWindow*>().size(), 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isMinimized());

    // Once closed it is gone, and the next click opens a fresh one.
    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.dateCalcWindow(), nullptr);
    button("按钮2")->click();
    ASSERT_NE(window.dateCalcWindow(), nullptr);
    EXPECT_TRUE(window.dateCalcWindow()->isVisible());
}

TEST_F(ToolboxWindowTest, SyncUsesTheTimeUrlOfTheToolboxSection) {
    testing::LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    server.serve("document.write('2010" + platform::ToGbk(QStringLiteral("年08月09日")) +
                 "');var hrs = 13;var min = 05;var sec = 00;");
    WriteGbkFile(configPath(), QStringLiteral("[config]\r\nTimeUrl=http://127.0.0.1:1/\r\n"
                                              "[Toolbox]\r\nName=游戏.exe\r\nTimeUrl=%1\r\n")
                                   .arg(server.url().toString()));
    dialogs.answers.push_back(DialogAnswer::Yes);
    button("按钮1")->click();
    EXPECT_EQ(server.requests, 1);
    ASSERT_EQ(setter.requests.size(), 1u);
    EXPECT_EQ(setter.requests[0], QDateTime(QDate(2010, 8, 9), QTime(13, 5, 0)));
    EXPECT_EQ(dialogs.shown.back().title,
              QStringLiteral("网络对时之Chronvex by Rovik - 对时成功"));

    // A fresh copy each time: the request asks caches to step aside.
    EXPECT_TRUE(server.lastHead.toLower().contains("cache-control: no-cache"));
}

TEST(ReadTimePageUrl, FallsBackToTheDefaultPage) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/config.ini");
    EXPECT_EQ(ReadTimePageUrl(path), QUrl(kDefaultTimePageUrl));  // no file
    WriteGbkFile(path, QStringLiteral("[config]\r\nTimeUrl=http://elsewhere/\r\n"));
    EXPECT_EQ(ReadTimePageUrl(path), QUrl(kDefaultTimePageUrl));  // other section only
    WriteGbkFile(path, QStringLiteral("[Toolbox]\r\nTimeUrl=\r\n"));
    EXPECT_EQ(ReadTimePageUrl(path), QUrl(kDefaultTimePageUrl));  // empty value
    WriteGbkFile(path, QStringLiteral("[Toolbox]\r\nTimeUrl=https://time.example/stime.asp\r\n"));
    EXPECT_EQ(ReadTimePageUrl(path), QUrl(QStringLiteral("https://time.example/stime.asp")));
    EXPECT_TRUE(kDefaultTimePageUrl.endsWith(QStringLiteral("/stime.asp")));
}

}  // namespace
}  // namespace tolvane::toolbox
