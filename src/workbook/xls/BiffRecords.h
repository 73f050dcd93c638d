#pragma once

#include "workbook/xls/CfbStream.h"

#include <cstdint>
#include <vector>

namespace setzaiko::xls {

namespace record {
constexpr std::uint16_t formula = 0x0006;
constexpr std::uint16_t eof = 0x000A;
constexpr std::uint16_t filePass = 0x002F;
constexpr std::uint16_t continued = 0x003C;
constexpr std::uint16_t boundSheet = 0x0085;
constexpr std::uint16_t mulRk = 0x00BD;
constexpr std::uint16_t mulBlank = 0x00BE;
constexpr std::uint16_t rString = 0x00D6;
constexpr std::uint16_t sst = 0x00FC;
constexpr std::uint16_t labelSst = 0x00FD;
constexpr std::uint16_t dimensions = 0x0200;
constexpr std::uint16_t blank = 0x0201;
constexpr std::uint16_t number = 0x0203;
constexpr std::uint16_t label = 0x0204;
constexpr std::uint16_t boolErr = 0x0205;
constexpr std::uint16_t string = 0x0207;
constexpr std::uint16_t array = 0x0221;
constexpr std::uint16_t table = 0x0236;
constexpr std::uint16_t rk = 0x027E;
constexpr std::uint16_t shrFmla = 0x04BC;
constexpr std::uint16_t bof = 0x0809;
} // namespace record

struct Record
{
    std::uint16_t type = 0;
    std::vector<unsigned char> data;
    std::uint16_t length = 0; // of the whole data, also where only a prefix was kept
    std::uint64_t offset = 0; // of the record header in the stream
};

// Reads the records of a workbook stream one after the other.
class RecordReader
{
public:
    RecordReader(CfbStream& stream, std::uint64_t position);

    // The next record, or false at the end of the stream. Throws WorkbookError when a
    // record runs past the end of the stream.
    bool next(Record& record);
    // The type of the record that next() would read, or nothing at the end of the stream.
    bool peekType(std::uint16_t& type);
    // Reads only the header and the first bytes of the next record's data (at most
    // prefixLength); the rest of the data is skipped.
    bool nextPrefix(Record& record, std::size_t prefixLength);

    std::uint64_t position() const { return m_position; }
    void seek(std::uint64_t position) { m_position = position; }

private:
    bool readHeader(std::uint16_t& type, std::uint16_t& length);

    CfbStream& m_stream;
    std::uint64_t m_position;
};

} // namespace setzaiko::xls
