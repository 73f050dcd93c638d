#pragma once

#include <QFileDevice>
#include <QString>

namespace setzaiko {

// Makes sure every byte written to the open file is on disk (fsync on POSIX systems, a commit
// of the handle on Windows). Returns false with a text of the reason when the system reports
// a failure or the file has no handle to sync. The only file with POSIX-only calls.
bool syncToDisk(QFileDevice& file, QString* error);

// What syncToDisk does instead, so that a test can make the sync fail; nullptr restores the
// system's sync. Returns the one replaced. Not for use while a file is being synced.
using SyncToDisk = bool (*)(QFileDevice& file, QString* error);
SyncToDisk replaceSyncToDisk(SyncToDisk replacement);

} // namespace setzaiko
