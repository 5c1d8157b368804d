#pragma once
// A tiny HTTP server on 127.0.0.1 for tests: answers every GET with a fixed response.
#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <functional>
#include <map>

namespace tolvane::toolbox::testing {

class LocalHttpServer {
public:
    LocalHttpServer() {
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(&server_);
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { onRead(socket); });
            }
        });
    }

    bool listening() const { return listening_; }
    QUrl url(const QString& path = QStringLiteral("/stime.asp")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }

    // The body served with status 200, or a whole raw response when `raw` is set.
    void serve(const QByteArray& body) {
        response_ = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }
    void serveRaw(const QByteArray& response) { response_ = response; }
    // Holds the answer back: the connection is accepted and never answered.
    void stayQuiet() { quiet_ = true; }

    // Called with each request's head before it is answered.
    std::function<void(const QByteArray& head)> onRequest;
    int requests = 0;
    QByteArray lastHead;

private:
    void onRead(QTcpSocket* socket) {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        ++requests;
        lastHead = buffer.left(end);
        if (onRequest)
            onRequest(lastHead);
        if (quiet_)
            return;
        socket->write(response_);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    bool listening_ = false;
    bool quiet_ = false;
    QByteArray response_;
    std::map<QTcpSocket*, QByteArray> pending_;
};

}  // namespace tolvane::toolbox::testing
