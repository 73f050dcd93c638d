#include "common/FileSync.h"

#include <QtGlobal>

#include <utility>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {
SyncToDisk replacedSync = nullptr;
} // namespace

SyncToDisk replaceSyncToDisk(SyncToDisk replacement)
{
    return std::exchange(replacedSync, replacement);
}

bool syncToDisk(QFileDevice& file, QString* error)
{
    if (replacedSync) {
        return replacedSync(file, error);
    }
    const int handle = file.handle();
    if (handle < 0) {
        if (error) {
            *error = u"the file has no handle to sync"_s;
        }
        return false;
    }
#if defined(Q_OS_WIN)
    const bool synced = _commit(handle) == 0;
#else
    int result;
    do {
        result = ::fsync(handle);
    } while (result != 0 && errno == EINTR);
    const bool synced = result == 0;
#endif
    if (!synced && error) {
        *error = qt_error_string(errno);
    }
    return synced;
}

} // namespace setzaiko
