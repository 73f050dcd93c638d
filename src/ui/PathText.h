#pragma once

#include <QString>

namespace setzaiko {

// A directory as the chooser hands it on: the native path with exactly one separator at its
// end ("/" on Linux, so the root gives "/"; "C:\" for a drive root on Windows).
QString directoryWithSeparator(const QString& path);

} // namespace setzaiko
