#include "workbook/xlsx/StoredPart.h"

#include <cstdint>

namespace setzaiko::xlsx {

StoredPart::StoredPart(QByteArray workbook, const ZipEntry& entry) : m_entry(entry)
{
    const auto size = static_cast<std::uint64_t>(workbook.size());
    if (entry.dataOffset > size || entry.compressedSize > size - entry.dataOffset) {
        m_bytes = std::move(workbook);
        return;
    }
    const char* stored = workbook.constData() + entry.dataOffset;
    m_copy.assign(stored, stored + entry.compressedSize);
    m_bytes = QByteArray::fromRawData(m_copy.data(), static_cast<qsizetype>(m_copy.size()));
    m_entry.dataOffset = 0;
    m_copied = true;
}

QByteArray StoredPart::ownBytes() const
{
    return m_copied ? QByteArray(m_bytes.constData(), m_bytes.size()) : m_bytes;
}

} // namespace setzaiko::xlsx
