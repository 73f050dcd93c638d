#include "workbook/xls/BiffRecords.h"

#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/XlsError.h"

#include <algorithm>
#include <cstring>

namespace setzaiko::xls {

RecordReader::RecordReader(CfbStream& stream, std::uint64_t position)
    : m_stream(stream), m_position(position)
{}

bool RecordReader::readHeader(std::uint16_t& type, std::uint16_t& length)
{
    if (m_position > m_stream.size() || m_stream.size() - m_position < 4) {
        return false;
    }
    const unsigned char* header = m_stream.view(m_position, 4);
    type = u16At(header);
    length = u16At(header + 2);
    return true;
}

bool RecordReader::peekType(std::uint16_t& type)
{
    std::uint16_t length = 0;
    return readHeader(type, length);
}

bool RecordReader::next(Record& record)
{
    return nextPrefix(record, 0xFFFF);
}

bool RecordReader::nextPrefix(Record& record, std::size_t prefixLength)
{
    std::uint16_t length = 0;
    if (!readHeader(record.type, length)) {
        return false;
    }
    record.offset = m_position;
    record.length = length;
    const std::size_t kept = std::min<std::size_t>(length, prefixLength);
    record.data.resize(kept);
    // The whole record must lie in the stream, even where only its prefix is kept.
    if (m_stream.size() - m_position - 4 < length) {
        fail("a record runs past the end of the stream");
    }
    if (kept > 0) {
        std::memcpy(record.data.data(), m_stream.view(m_position + 4, kept), kept);
    }
    m_position += 4 + std::uint64_t{length};
    return true;
}

} // namespace setzaiko::xls
