#include "workbook/xls/ContinueReader.h"

#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/XlsError.h"

#include <algorithm>

namespace setzaiko::xls {

ContinueReader::ContinueReader(RecordReader& records, std::vector<unsigned char> first)
    : m_records(records), m_segment(std::move(first))
{}

bool ContinueReader::advance()
{
    std::uint16_t type = 0;
    if (!m_records.peekType(type) || type != record::continued) {
        return false;
    }
    m_records.next(m_next);
    m_segment.swap(m_next.data);
    m_offset = 0;
    return true;
}

bool ContinueReader::atEnd()
{
    while (available() == 0) {
        if (!advance()) {
            return true;
        }
    }
    return false;
}

void ContinueReader::take(unsigned char* destination, std::size_t n)
{
    while (n > 0) {
        if (available() == 0 && !advance()) {
            fail("a text runs past the end of its record");
        }
        const std::size_t chunk = std::min(n, available());
        std::copy_n(m_segment.data() + m_offset, chunk, destination);
        m_offset += chunk;
        destination += chunk;
        n -= chunk;
    }
}

std::uint8_t ContinueReader::u8()
{
    unsigned char b[1];
    take(b, 1);
    return b[0];
}

std::uint16_t ContinueReader::u16()
{
    unsigned char b[2];
    take(b, 2);
    return u16At(b);
}

std::uint32_t ContinueReader::u32()
{
    unsigned char b[4];
    take(b, 4);
    return u32At(b);
}

void ContinueReader::skip(std::uint64_t n)
{
    while (n > 0) {
        if (available() == 0 && !advance()) {
            fail("data runs past the end of its record");
        }
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(n, available()));
        m_offset += chunk;
        n -= chunk;
    }
}

QString ContinueReader::characters(std::size_t count, bool twoBytes)
{
    QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    std::size_t done = 0;
    while (done < count) {
        const std::size_t width = twoBytes ? 2 : 1;
        if (available() < width) {
            // Characters never split across records: a new record restarts them, with a fresh
            // option byte.
            if (!advance()) {
                fail("a text runs past the end of its record");
            }
            twoBytes = (u8() & 0x01) != 0;
            continue;
        }
        const std::size_t n = std::min(count - done, available() / width);
        const unsigned char* p = m_segment.data() + m_offset;
        if (twoBytes) {
            for (std::size_t i = 0; i < n; ++i) {
                out[done + i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
            }
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                out[done + i] = p[i];
            }
        }
        m_offset += n * width;
        done += n;
    }
    return text;
}

QString ContinueReader::unicodeString()
{
    std::uint16_t count = 0;
    std::uint8_t options = 0;
    std::uint16_t runs = 0;
    std::uint32_t phoneticBytes = 0;
    constexpr std::size_t longestHeader = 9;
    if (available() >= longestHeader) {
        // The usual case, the whole header inside this record: read in place.
        const unsigned char* p = m_segment.data() + m_offset;
        count = u16At(p);
        options = p[2];
        std::size_t length = 3;
        if (options & 0x08) {
            runs = u16At(p + length);
            length += 2;
        }
        if (options & 0x04) {
            phoneticBytes = u32At(p + length);
            length += 4;
        }
        m_offset += length;
    } else {
        count = u16();
        options = u8();
        if (options & 0x08) {
            runs = u16();
        }
        if (options & 0x04) {
            phoneticBytes = u32();
        }
    }
    QString text = characters(count, (options & 0x01) != 0);
    skip(std::uint64_t{runs} * 4 + phoneticBytes);
    return text;
}

QString ContinueReader::shortUnicodeString()
{
    const std::uint8_t count = u8();
    const std::uint8_t options = u8();
    return characters(count, (options & 0x01) != 0);
}

} // namespace setzaiko::xls
