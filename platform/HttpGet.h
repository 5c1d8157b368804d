#pragma once
// Fetching one web page with HTTP GET, behind an interface so that callers can be tested
// against a fake or a local server.
#include <QByteArray>
#include <QUrl>

namespace tolvane::platform {

// Contract: `get` fetches `url` fresh (never from a cache) and returns once the request has
// ended. On success `body` holds the whole response body and the result is true. On any
// failure (a URL that is not http or https, no connection, an HTTP error status, the time-out,
// a body larger than the cap) the result is false and `body` is empty.
class HttpGetter {
public:
    virtual ~HttpGetter() = default;
    [[nodiscard]] virtual bool get(const QUrl& url, QByteArray& body) = 0;
};

// HTTP GET over Qt Network. `get` runs a local event loop on the calling thread that
// ignores user input, so the caller's windows stay painted but do not react until the
// request has ended. Redirects are followed unless they lead from https to http.
class QtHttpGetter final : public HttpGetter {
public:
    static constexpr int kDefaultTimeoutMs = 10'000;
    static constexpr qint64 kDefaultMaxBodyBytes = 1024 * 1024;

    explicit QtHttpGetter(int timeoutMs = kDefaultTimeoutMs,
                          qint64 maxBodyBytes = kDefaultMaxBodyBytes)
        : timeoutMs_(timeoutMs), maxBodyBytes_(maxBodyBytes) {}

    [[nodiscard]] bool get(const QUrl& url, QByteArray& body) override;

private:
    int timeoutMs_;
    qint64 maxBodyBytes_;
};

}  // namespace tolvane::platform
