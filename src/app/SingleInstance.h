#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace setzaiko {

// Holds the lock that marks the program as running, for as long as it lives. A lock left by
// an instance that no longer runs is taken over. The running instance listens on a local
// socket of the user's; a refused start calls it there, so that the user sees the running copy
// come to the front rather than nothing at all.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath(),
                            const QString& serverName = defaultServerName());
    ~SingleInstance() override;

    // False when another running instance holds the lock; that instance has been called.
    bool isFirst() const { return m_locked; }

    static QString defaultLockPath();
    static QString defaultServerName();

signals:
    // Another start of the program was refused and asks this instance to show itself.
    void anotherStartRefused();

private:
    void listen(const QString& serverName);
    static void callFirst(const QString& serverName);

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    bool m_locked = false;
};

} // namespace setzaiko
