#include "workbook/xlsx/StoredPart.h"

#include "common/HugePages.h"

#include <algorithm>
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

void StoredPart::releaseBefore(const char* untaken)
{
    // Only a copy of its own, on pages of its own, goes.
    if (!m_copied || m_copy.size() < PagesAllocator<char>::mappedFrom || untaken < m_copy.data() ||
        untaken > m_copy.data() + m_copy.size()) {
        return;
    }
    const auto upTo = static_cast<std::size_t>(untaken - m_copy.data());
    if (upTo - std::min(upTo, m_releasedUpTo) < releaseStep) {
        return;
    }
    releasePages(m_copy.data() + m_releasedUpTo, upTo - m_releasedUpTo);
    m_releasedUpTo = upTo;
}

QByteArray StoredPart::ownBytes() const
{
    return m_copied ? QByteArray(m_bytes.constData(), m_bytes.size()) : m_bytes;
}

} // namespace setzaiko::xlsx
