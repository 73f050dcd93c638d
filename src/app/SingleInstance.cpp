#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

// How long a refused start waits for the running instance to take its call.
constexpr int callTimeoutMs = 2000;

QString runtimeDirectory()
{
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return directory.isEmpty() ? QDir::tempPath() : directory;
}

} // namespace

SingleInstance::SingleInstance(const QString& lockPath, const QString& serverName)
    : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // A running instance never gives the lock up; only a dead one's lock is stale.
    m_lock->setStaleLockTime(0);
    m_locked = m_lock->tryLock(0);
    if (m_locked) {
        listen(serverName);
    } else {
        callFirst(serverName);
    }
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen(const QString& serverName)
{
    // Whoever holds the lock owns the name: a socket still there was left by a dead instance.
    QLocalServer::removeServer(serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        // The call itself is the message.
        while (QLocalSocket* call = m_server->nextPendingConnection()) {
            call->disconnectFromServer();
            call->deleteLater();
        }
        emit anotherStartRefused();
    });
    // Without the socket the program still runs alone; a second start then ends unseen.
    m_server->listen(serverName);
}

void SingleInstance::callFirst(const QString& serverName)
{
    QLocalSocket call;
    call.connectToServer(serverName);
    if (call.waitForConnected(callTimeoutMs)) {
        call.disconnectFromServer();
    }
}

QString SingleInstance::defaultLockPath()
{
    return QDir(runtimeDirectory()).filePath(u"setzaiko.lock"_s);
}

QString SingleInstance::defaultServerName()
{
#ifdef Q_OS_WIN
    // Pipe names are the machine's: the user's name keeps each user's copy to itself.
    return u"setzaiko-"_s + qEnvironmentVariable("USERNAME");
#else
    return QDir(runtimeDirectory()).filePath(u"setzaiko.socket"_s);
#endif
}

} // namespace setzaiko
