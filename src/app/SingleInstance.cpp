#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

SingleInstance::SingleInstance(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // A running instance never gives the lock up; only a dead one's lock is stale.
    m_lock->setStaleLockTime(0);
    m_locked = m_lock->tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) {
        directory = QDir::tempPath();
    }
    return QDir(directory).filePath(u"setzaiko.lock"_s);
}

} // namespace setzaiko
