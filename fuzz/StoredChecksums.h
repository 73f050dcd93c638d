#pragma once

#include <QByteArray>

namespace setzaiko::fuzz {

// Rewrites the CRC-32 of every stored (uncompressed) entry of a zip archive, in its central
// directory record and in its local header, to the checksum of the bytes it stores now. A
// mutation inside a stored part's text then reaches the XML readers instead of ending at the
// archive's checksum. Deflated entries keep their checksums, so mismatches stay fuzzed there.
// Anything that does not parse as an archive is left as it is.
void mendStoredChecksums(QByteArray& archive);

} // namespace setzaiko::fuzz
