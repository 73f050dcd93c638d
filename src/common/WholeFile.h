#pragma once

#include <QByteArray>

class QFile;

namespace setzaiko {

// The bytes of an open file from where it stands to its end. A large file is read into room
// made for all of it at once, in huge pages where the system has them; a file that changes its
// size meanwhile is read as far as it goes. A read that fails leaves the file's error set.
QByteArray readWholeFile(QFile& file);

} // namespace setzaiko
