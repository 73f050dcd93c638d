#pragma once

#include <QFileDevice>
#include <QString>

namespace setzaiko {

// Makes sure every byte written to the open file is on disk (fsync on POSIX systems, a commit
// of the handle on Windows). Returns false with a text of the reason when the system reports
// a failure or the file has no handle to sync. The only file with POSIX-only calls.
bool syncToDisk(QFileDevice& file, QString* error);

} // namespace setzaiko
