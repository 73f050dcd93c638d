#pragma once

#include <QByteArray>

#include <string>

namespace setzaiko::testing {

// A zip archive holding one stored entry, "p.xml"; damaged, with a checksum that does not
// match its bytes.
QByteArray storedArchive(const std::string& content, bool damaged = false);

} // namespace setzaiko::testing
