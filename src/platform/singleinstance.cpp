#include "singleinstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

QString channelName(const QString &key)
{
    return key + QStringLiteral(".channel");
}

} // namespace

SingleInstance::SingleInstance(const QString &key)
    : m_key(key), m_lock(key + QStringLiteral(".lock"))
{
    // A program that has run for days still holds its lock: only a lock whose holder is gone is
    // taken over.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *start = m_server.nextPendingConnection()) {
            start->deleteLater();
            emit anotherStartAsked();
        }
    });
}

QString SingleInstance::userKey()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("RevuredAVeze"));
}

bool SingleInstance::claim()
{
    // A lock that cannot be made at all (a runtime folder that cannot be written) stops nobody.
    if (!m_lock.tryLock(0) && m_lock.error() == QLockFile::LockFailedError) {
        askTheRunningOne();
        return false;
    }
    // A channel left by an instance that was killed is in the way of a new one.
    QLocalServer::removeServer(channelName(m_key));
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(channelName(m_key));
    return true;
}

// The running one may still be starting up and not listen yet: it is given a few seconds.
void SingleInstance::askTheRunningOne() const
{
    constexpr int kAttempts = 20;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(channelName(m_key));
        if (socket.waitForConnected(250)) {
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(100);
    }
}
