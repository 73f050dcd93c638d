#pragma once

#include <QByteArray>

#include <string>

namespace setzaiko::testing {

// A zip archive holding one stored entry, "p.xml", its local header at the archive's start;
// damaged, with a checksum that does not match its bytes.
QByteArray storedArchive(const std::string& content, bool damaged = false);

// The same with the entry named name, as stored.
QByteArray storedArchiveNamed(const std::string& content, const std::string& name);

// The same with the entry deflated.
QByteArray deflatedArchive(const std::string& content, bool damaged = false);

// content as a raw deflate stream, the way zip entries hold it.
std::string rawDeflate(const std::string& content);

} // namespace setzaiko::testing
