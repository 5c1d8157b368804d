#include "platform/HttpGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace tolvane::platform {

bool QtHttpGetter::get(const QUrl& url, QByteArray& body) {
    body.clear();
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https"))
        return false;

    // A manager per request: no cookie, cache or connection state leaks from one fetch into
    // the next, and nothing outlives the call.
    QNetworkAccessManager manager;
    manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Proxies and the server's own caches must not hand back an old copy of a time page.
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setTransferTimeout(timeoutMs_);

    QNetworkReply* reply = manager.get(request);
    QByteArray received;
    bool tooLarge = false;
    bool timedOut = false;
    QEventLoop loop;

    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        received += reply->readAll();
        if (received.size() > maxBodyBytes_) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);

    // The transfer time-out only covers silence; this one bounds the whole request, so a
    // server that trickles bytes cannot hold the caller for longer either.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    deadline.start(timeoutMs_);

    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();

    if (!tooLarge && !timedOut)
        received += reply->readAll();
    const bool ok = !tooLarge && !timedOut && reply->error() == QNetworkReply::NoError &&
                    received.size() <= maxBodyBytes_;
    delete reply;
    if (ok)
        body = std::move(received);
    return ok;
}

}  // namespace tolvane::platform
