#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace setzaiko {

// Holds the lock that marks the program as running, for as long as it lives. A lock left by
// an instance that no longer runs is taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString& lockPath = defaultLockPath());

    // False when another running instance holds the lock.
    bool isFirst() const { return m_locked; }

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
};

} // namespace setzaiko
