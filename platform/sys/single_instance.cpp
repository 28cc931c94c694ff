#include "platform/sys/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace sys {

namespace {

QString serverName(const QString& name) {
    return name + QStringLiteral("-") + qEnvironmentVariable("USER", QStringLiteral("user"));
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString& name, QObject* parent)
    : QObject(parent)
    , m_lock(std::make_unique<QLockFile>(
          QDir::temp().filePath(serverName(name) + QStringLiteral(".lock")))) {
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_anotherCopyRuns = true;
        m_lock.reset();
        QLocalSocket socket;
        socket.connectToServer(serverName(name));
        if (socket.waitForConnected(1000)) {
            socket.write("activate\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
        }
        return;
    }
    m_server = new QLocalServer(this);
    QLocalServer::removeServer(serverName(name));
    m_server->listen(serverName(name));
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            auto readRequest = [this, socket] {
                if (socket->canReadLine() && socket->readLine().startsWith("activate"))
                    Q_EMIT activationRequested();
            };
            connect(socket, &QLocalSocket::readyRead, this, readRequest);
            readRequest();
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

} // namespace sys
