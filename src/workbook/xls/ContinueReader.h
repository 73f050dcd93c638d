#pragma once

#include "workbook/xls/BiffRecords.h"

#include <QString>

#include <cstdint>

namespace setzaiko::xls {

// Reads the data of one record together with the CONTINUE records that follow it, as the
// shared string table and long texts are stored. Where the characters of a string cross into
// a CONTINUE record, that record starts with a fresh option byte telling whether the
// characters go on in one byte or two.
class ContinueReader
{
public:
    // Reads the data of first, then of the CONTINUE records that records yields next.
    ContinueReader(RecordReader& records, std::vector<unsigned char> first);

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::uint64_t n);
    // True when this record and every CONTINUE after it are read to the end.
    bool atEnd();

    // An XLUnicodeString as the shared string table, LABEL and STRING hold it: a 16-bit
    // character count, option byte, optional rich-text runs and phonetic data (skipped).
    QString unicodeString();
    // The same with an 8-bit character count, without runs or phonetic data.
    QString shortUnicodeString();

private:
    QString characters(std::size_t count, bool twoBytes);
    bool advance();
    std::size_t available() const { return m_segment.size() - m_offset; }
    void take(unsigned char* destination, std::size_t n);

    RecordReader& m_records;
    Record m_next;
    std::vector<unsigned char> m_segment;
    std::size_t m_offset = 0;
};

} // namespace setzaiko::xls
