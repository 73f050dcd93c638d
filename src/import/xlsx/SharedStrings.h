#pragma once

#include <QString>

#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// The shared string table of a workbook: every <si> item's text, in order. Throws
// WorkbookError.
std::vector<QString> readSharedStrings(ZipArchive& archive, const ZipEntry& entry);

} // namespace setzaiko::xlsx
