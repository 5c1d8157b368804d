// The network time sync against a real HTTP server on 127.0.0.1, with a fake clock, a fake
// clock setter and scripted boxes. The machine's clock is never touched.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <optional>

#include "FakeUserDialogs.h"
#include "LocalHttpServer.h"
#include "platform/Clock.h"
#include "platform/GbkText.h"
#include "platform/HttpGet.h"
#include "platform/SystemClockSetter.h"
#include "toolbox/NetworkTimeSync.h"

namespace tolvane::toolbox {
namespace {

using testing::FakeUserDialogs;
using testing::LocalHttpServer;

const QString kTitle1 = QStringLiteral("网络对时之Chronvex by Rovik");
const QString kFailTitle = QStringLiteral("网络对时之Chronvex by Rovik - 连接失败");
const QString kDoneTitle = QStringLiteral("网络对时之Chronvex by Rovik - 对时成功");
const QString kRefusedTitle = QStringLiteral("网络对时之Chronvex by Rovik - 对时失败");
const QString kFailText = QStringLiteral("    对不起，连接时间服务器失败，请检查网络连接。");
const QString kDoneText = QStringLiteral("恭喜你，对时命令执行完毕。请检查您的系统时间。");

// A time page in the shape the toolbox reads: the date inside document.write('...') and
// the time in three script variables.
QByteArray Page(const QString& date, const char* hrs = "13", const char* min = "05",
                const char* sec = "00") {
    QByteArray page = "<html><head><script language=\"JavaScript\">\r\n";
    if (hrs)
        page += QByteArray("var hrs = ") + hrs + ";\r\n";
    if (min)
        page += QByteArray("var min = ") + min + ";\r\n";
    if (sec)
        page += QByteArray("var sec = ") + sec + ";\r\n";
    page += "</script></head><body>\r\n";
    page += "document.write('" + platform::ToGbk(date) + "');\r\n</body></html>\r\n";
    return page;
}

QDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

class NetworkTimeSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listening());
        // The request and its parsing "take" this long on the fake clock.
        server.onRequest = [this](const QByteArray&) { clock.advanceMs(fetchMs); };
    }

    void runSync(QUrl url, DialogAnswer welcome = DialogAnswer::Yes) {
        dialogs.answers.push_front(welcome);
        NetworkTimeSync sync(clock, http, setter, dialogs, std::move(url));
        sync.run();
    }

    LocalHttpServer server;
    platform::FakeClock clock{At(2026, 12, 9, 9, 0, 0)};
    platform::QtHttpGetter http{3000};
    platform::FakeClockSetter setter;
    FakeUserDialogs dialogs;
    qint64 fetchMs = 0;
};

TEST_F(NetworkTimeSyncTest, WelcomeBoxAsksWithFourLinesAndNoIcon) {
    server.serve(Page(QStringLiteral("2010年08月09日")));
    runSync(server.url());
    ASSERT_FALSE(dialogs.shown.empty());
    const testing::ShownBox& welcome = dialogs.shown.front();
    EXPECT_EQ(welcome.title, kTitle1);
    EXPECT_EQ(welcome.buttons, DialogButtons::YesNo);
    EXPECT_EQ(welcome.icon, DialogIcon::None);
    const QStringList lines = welcome.text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("    欢迎使用网络对时之Chronvex by Rovik"));
    EXPECT_EQ(lines[3], QStringLiteral("    确定要开始对时吗？"));
}

struct PageCase {
    const char* name;
    QByteArray body;
    qint64 fetchMs;
    std::optional<QDateTime> clockSetTo;  // none: the clock is left alone
};

TEST_F(NetworkTimeSyncTest, PagesSetTheClockOrReportFailure) {
    QByteArray splitMarker = "\xB0";  // a lead byte that swallows the "d" of a fake marker
    splitMarker += "document.write('2001年01月01日');\r\n";
    splitMarker += Page(QStringLiteral("2010年08月09日"));
    QByteArray zeroFirst("<html>\0", 7);
    zeroFirst += Page(QStringLiteral("2010年08月09日"));

    const PageCase cases[] = {
        // 14 bytes from the "20": the page time plus the 2 s the fetch took.
        {"two-digit month and day", Page(QStringLiteral("2010年08月09日")), 2000,
         At(2010, 8, 9, 13, 5, 2)},
        // 13 bytes: the closing "'" is in the 14 and is removed.
        {"one-digit month", Page(QStringLiteral("2010年8月09日")), 2000,
         At(2010, 8, 9, 13, 5, 2)},
        // 12 bytes: the ")" behind the apostrophe spoils the date.
        {"one-digit month and day", Page(QStringLiteral("2010年8月9日")), 2000, std::nullopt},
        {"no seconds marker", Page(QStringLiteral("2010年08月09日"), "13", "05", nullptr), 0,
         At(2010, 8, 9, 13, 5, 0)},
        {"no time markers at all",
         Page(QStringLiteral("2010年08月09日"), nullptr, nullptr, nullptr), 0,
         At(2010, 8, 9, 0, 0, 0)},
        {"single-digit seconds", Page(QStringLiteral("2010年08月09日"), "9", "5", "7"), 0,
         At(2010, 8, 9, 9, 5, 7)},
        {"no date marker", "<html>var hrs = 13; var min = 05; var sec = 00;</html>", 0,
         std::nullopt},
        {"not a date", Page(QStringLiteral("2010年13月09日")), 0, std::nullopt},
        {"empty page", "", 0, std::nullopt},
        {"text ends at a zero byte", zeroFirst, 0, std::nullopt},
        // The marker search steps over whole characters; the second marker is the real one.
        {"marker inside a two-byte character", splitMarker, 0, At(2010, 8, 9, 13, 5, 0)},
        // A date that parses but a time that does not: the clock is left alone rather than
        // sent to the invalid value plus the elapsed seconds.
        {"hour out of range", Page(QStringLiteral("2010年08月09日"), "99"), 2000, std::nullopt},
        {"minute out of range", Page(QStringLiteral("2010年08月09日"), "13", "75"), 2000,
         std::nullopt},
        {"negative second", Page(QStringLiteral("2010年08月09日"), "13", "05", "-5"), 2000,
         std::nullopt},
        // The elapsed seconds would carry the page time out of the representable years.
        {"last second of 9999", Page(QStringLiteral("9999年12月31日"), "23", "59", "59"), 2000,
         std::nullopt},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        setter.requests.clear();
        dialogs.shown.clear();
        server.serve(c.body);
        fetchMs = c.fetchMs;
        runSync(server.url());

        ASSERT_EQ(dialogs.shown.size(), 2u);
        const testing::ShownBox& result = dialogs.shown.back();
        EXPECT_EQ(result.buttons, DialogButtons::Ok);
        EXPECT_EQ(result.icon, DialogIcon::None);
        if (c.clockSetTo) {
            ASSERT_EQ(setter.requests.size(), 1u);
            EXPECT_EQ(setter.requests.front(), *c.clockSetTo);
            EXPECT_EQ(result.title, kDoneTitle);
            EXPECT_EQ(result.text, kDoneText);
        } else {
            EXPECT_TRUE(setter.requests.empty());
            EXPECT_EQ(result.title, kFailTitle);
            EXPECT_EQ(result.text, kFailText);
        }
    }
}

TEST_F(NetworkTimeSyncTest, NoServerShowsTheConnectionFailure) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    runSync(QUrl(QStringLiteral("http://127.0.0.1:%1/stime.asp").arg(port)));
    EXPECT_TRUE(setter.requests.empty());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown.back().title, kFailTitle);
}

TEST_F(NetworkTimeSyncTest, HttpErrorStatusShowsTheConnectionFailure) {
    const QByteArray body = Page(QStringLiteral("2010年08月09日"));
    server.serveRaw("HTTP/1.1 404 Not Found\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    runSync(server.url());
    EXPECT_TRUE(setter.requests.empty());
    EXPECT_EQ(dialogs.shown.back().title, kFailTitle);
}

TEST_F(NetworkTimeSyncTest, RefusedClockChangeIsReportedWithItsReason) {
    server.serve(Page(QStringLiteral("2010年08月09日")));
    setter.accept = false;
    setter.refusalReason = QStringLiteral("没有修改系统时间的权限");
    runSync(server.url());

    ASSERT_EQ(setter.requests.size(), 1u);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    const testing::ShownBox& box = dialogs.shown.back();
    EXPECT_EQ(box.title, kRefusedTitle);
    EXPECT_EQ(box.icon, DialogIcon::None);
    EXPECT_TRUE(box.text.contains(QStringLiteral("没有修改系统时间的权限")));
    EXPECT_TRUE(box.text.contains(QStringLiteral("时间没有修改")));
    EXPECT_NE(box.text, kDoneText);
}

TEST_F(NetworkTimeSyncTest, NoAtTheWelcomeOnAnOrdinarySecondOnlyCancels) {
    for (const QDateTime& now : {At(2026, 12, 9, 9, 0, 0), At(2008, 8, 8, 20, 0, 1),
                                 At(2008, 8, 8, 19, 59, 59), At(2009, 8, 8, 20, 0, 0)}) {
        SCOPED_TRACE(now.toString(Qt::ISODate).toStdString());
        clock.set(now);
        dialogs.shown.clear();
        runSync(server.url(), DialogAnswer::No);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[1].title, kTitle1);
        EXPECT_EQ(dialogs.shown[1].text,
                  QStringLiteral("    对时已被用户取消。\r\n    感谢您的使用。"));
        EXPECT_EQ(server.requests, 0);
    }
    EXPECT_TRUE(setter.requests.empty());
}

// The hidden dialogue opens when the clock reads 20:00:00 on 8 August 2008 as the
// cancellation box is closed.
class HiddenDialogueTest : public NetworkTimeSyncTest {
protected:
    void SetUp() override {
        NetworkTimeSyncTest::SetUp();
        clock.set(At(2008, 8, 8, 20, 0, 0));
    }
    void runQuiz(std::initializer_list<DialogAnswer> answers,
                 std::initializer_list<const char*> typed = {}) {
        for (DialogAnswer a : answers)
            dialogs.answers.push_back(a);
        for (const char* t : typed)
            dialogs.typed.push_back(QString::fromUtf8(t));
        runSync(server.url(), DialogAnswer::No);
        EXPECT_TRUE(setter.requests.empty());
        EXPECT_EQ(server.requests, 0);
    }
    std::vector<QString> titlesAfterCancel() const {
        std::vector<QString> t = dialogs.titles();
        return {t.begin() + 2, t.end()};
    }

    const QString guest = QStringLiteral("突然间跑出来的？？？ 说");
    const QString ask = QStringLiteral("请问");
    const QString askMore = QStringLiteral("请问~~");
    const QString merrow = QStringLiteral("Merrow 说");
    const QString author = QStringLiteral("Rovik 说");
    const QString thanks = QStringLiteral("谢谢合作");
    using A = DialogAnswer;
};

TEST_F(HiddenDialogueTest, OpensAtTheMomentTheCancelBoxIsClosed) {
    clock.set(At(2008, 8, 8, 19, 59, 59));
    dialogs.onShow = [this](const testing::ShownBox& box) {
        if (box.text.startsWith(QStringLiteral("    对时已被用户取消。")))
            clock.advanceMs(1000);
    };
    runQuiz({A::No});
    EXPECT_EQ(titlesAfterCancel(), std::vector<QString>{guest});
}

TEST_F(HiddenDialogueTest, NoToTheInvitationEndsIt) {
    runQuiz({A::No});
    ASSERT_EQ(dialogs.shown.size(), 3u);
    const testing::ShownBox& invite = dialogs.shown[2];
    EXPECT_EQ(invite.title, guest);
    EXPECT_EQ(invite.buttons, DialogButtons::YesNo);
    EXPECT_EQ(invite.text.split(QStringLiteral("\r\n")).size(), 3);
}

TEST_F(HiddenDialogueTest, NoToEitherQuestionThanksTheUser) {
    runQuiz({A::Yes, A::No});
    EXPECT_EQ(titlesAfterCancel(), (std::vector<QString>{guest, merrow, ask, thanks}));
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("我们的软件是非常好用的！尽情Enjoy吧！"));

    dialogs.shown.clear();
    runQuiz({A::Yes, A::Yes, A::No});
    EXPECT_EQ(titlesAfterCancel(), (std::vector<QString>{guest, merrow, ask, ask, thanks}));
}

TEST_F(HiddenDialogueTest, WrongOrCancelledAnswersEndSilently) {
    const std::vector<std::vector<const char*>> typings = {
        {"让大家都不迟到", "发布windows7"},  // case matters
        {"随便写写", "发布Windows7"},
        {"让大家都不迟到"},                   // second box cancelled
        {},                                   // both cancelled
    };
    for (const auto& typed : typings) {
        dialogs.shown.clear();
        dialogs.typed.clear();
        for (const char* t : typed)
            dialogs.typed.push_back(QString::fromUtf8(t));
        runQuiz({A::Yes, A::Yes, A::Yes});
        ASSERT_EQ(dialogs.shown.size(), 8u);
        EXPECT_TRUE(dialogs.shown[6].isInput);
        EXPECT_TRUE(dialogs.shown.back().isInput);
        EXPECT_TRUE(dialogs.shown.back().masked);
        EXPECT_EQ(dialogs.shown.back().title, askMore);
    }
}

TEST_F(HiddenDialogueTest, RightAnswersThenYesOrAbortOrIgnoreEnd) {
    runQuiz({A::Yes, A::Yes, A::Yes, A::Yes}, {"让大家都不迟到", "发布Windows7"});
    EXPECT_EQ(titlesAfterCancel(),
              (std::vector<QString>{guest, merrow, ask, ask, askMore, askMore, author}));

    for (A end : {A::Abort, A::Ignore}) {
        dialogs.shown.clear();
        runQuiz({A::Yes, A::Yes, A::Yes, A::No, end}, {"让大家都不迟到", "发布Windows7"});
        ASSERT_EQ(dialogs.shown.size(), 10u);
        const testing::ShownBox& virus = dialogs.shown.back();
        EXPECT_EQ(virus.title, QStringLiteral("完成！"));
        EXPECT_EQ(virus.buttons, DialogButtons::AbortRetryIgnore);
        EXPECT_EQ(virus.icon, DialogIcon::Stop);
    }
}

TEST_F(HiddenDialogueTest, RetryPlaysTheMonologue) {
    runQuiz({A::Yes, A::Yes, A::Yes, A::No, A::Retry}, {"让大家都不迟到", "发布Windows7"});
    ASSERT_EQ(dialogs.shown.size(), 10u + 25u);
    const int lines[25] = {1, 1, 1, 3, 4, 2, 1, 3, 4, 1, 1, 2, 2, 3, 1, 4, 1, 3, 1, 2, 3, 3, 1, 1, 1};
    for (int i = 0; i < 25; ++i) {
        const testing::ShownBox& box = dialogs.shown[10 + i];
        const int number = i + 1;
        const bool merrowSpeaks = number == 5 || number == 15 || number == 20 || number == 23;
        EXPECT_EQ(box.title, merrowSpeaks ? merrow : author) << number;
        EXPECT_EQ(box.buttons, DialogButtons::Ok);
        EXPECT_EQ(box.icon, DialogIcon::None);
        EXPECT_EQ(box.text.split(QStringLiteral("\r\n")).size(), lines[i]) << number;
    }
}

}  // namespace
}  // namespace tolvane::toolbox
