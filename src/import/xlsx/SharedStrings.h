#pragma once

#include <QByteArray>
#include <QString>

#include <future>
#include <memory>
#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;
struct ZipEntry;

// The shared string table of a workbook: every <si> item's text, in order. Throws
// WorkbookError.
std::vector<QString> readSharedStrings(ZipArchive& archive, const ZipEntry& entry);

using SharedStringTable = std::shared_ptr<const std::vector<QString>>;
using PendingSharedStrings = std::shared_future<SharedStringTable>;

// The shared string table read on a thread of its own, through an archive of its own over the
// file's bytes, while the worksheets are read; get() waits for it and throws what reading it
// threw. Read when first asked for where no thread is to be had.
PendingSharedStrings readSharedStringsAhead(const QByteArray& bytes, const ZipEntry& entry);

// A table that is there already (none, or read in place).
PendingSharedStrings sharedStringsReady(std::vector<QString> strings);

} // namespace setzaiko::xlsx
