// HTTP GET over Qt Network against servers on 127.0.0.1 started here.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "LocalHttpServer.h"
#include "platform/HttpGet.h"

namespace tolvane::platform {
namespace {

using toolbox::testing::LocalHttpServer;

TEST(QtHttpGetter, ReturnsTheBodyUpToTheCap) {
    LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    QtHttpGetter http(3000, 1000);
    QByteArray body;

    server.serve(QByteArray(1000, 'x'));
    EXPECT_TRUE(http.get(server.url(), body));
    EXPECT_EQ(body.size(), 1000);

    // A body beyond the cap is a failure, not a truncated page.
    server.serve(QByteArray(1001, 'x'));
    EXPECT_FALSE(http.get(server.url(), body));
    EXPECT_TRUE(body.isEmpty());

    server.serve(QByteArray(200'000, 'x'));
    EXPECT_FALSE(http.get(server.url(), body));
    EXPECT_TRUE(body.isEmpty());
}

TEST(QtHttpGetter, SilentServerTimesOut) {
    LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    server.stayQuiet();
    QtHttpGetter http(300);
    QByteArray body = "stale";
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(http.get(server.url(), body));
    EXPECT_LT(elapsed.elapsed(), 5000);
    EXPECT_TRUE(body.isEmpty());
    EXPECT_EQ(server.requests, 1);
}

TEST(QtHttpGetter, FetchesFreshEveryTime) {
    LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    QtHttpGetter http(3000);
    QByteArray body;
    server.serveRaw("HTTP/1.1 200 OK\r\nCache-Control: max-age=3600\r\nContent-Length: 3\r\n"
                    "Connection: close\r\n\r\none");
    ASSERT_TRUE(http.get(server.url(), body));
    server.serve("two");
    ASSERT_TRUE(http.get(server.url(), body));
    EXPECT_EQ(body, "two");
    EXPECT_EQ(server.requests, 2);
    EXPECT_TRUE(server.lastHead.toLower().contains("cache-control: no-cache"));
}

TEST(QtHttpGetter, RefusesAddressesThatAreNotHttp) {
    QtHttpGetter http(1000);
    QByteArray body;
    for (const char* url : {"file:///etc/hostname", "ftp://127.0.0.1/x", "", "not a url",
                            "http:///stime.asp"})
        EXPECT_FALSE(http.get(QUrl(QString::fromLatin1(url)), body)) << url;
}

}  // namespace
}  // namespace tolvane::platform
