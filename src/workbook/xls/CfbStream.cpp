#include "workbook/xls/CfbStream.h"

#include "workbook/xls/XlsError.h"

#include <algorithm>

namespace setzaiko::xls {

namespace {
// Large enough that a workbook is read in few device calls, small enough to stay cheap.
constexpr std::uint64_t windowSize = 256 * 1024;
} // namespace

CfbStream::CfbStream(QIODevice& device, std::vector<std::uint32_t> sectors, int sectorShift,
                     std::uint64_t size)
    : m_device(&device), m_deviceLock(std::make_shared<std::mutex>()),
      m_sectors(std::move(sectors)), m_sectorShift(sectorShift), m_size(size)
{}

CfbStream::CfbStream(std::vector<unsigned char> bytes)
    : m_size(bytes.size()), m_window(std::move(bytes)), m_inMemory(true)
{}

std::unique_ptr<CfbStream> CfbStream::fork() const
{
    if (m_inMemory) {
        return std::make_unique<CfbStream>(m_window);
    }
    auto copy = std::make_unique<CfbStream>(*m_device, m_sectors, m_sectorShift, m_size);
    copy->m_deviceLock = m_deviceLock;
    return copy;
}

void CfbStream::read(std::uint64_t pos, unsigned char* destination, std::size_t n)
{
    if (pos > m_size || n > m_size - pos) {
        fail("read beyond the end of a stream");
    }
    while (n > 0) {
        if (pos < m_windowStart || pos >= m_windowStart + m_window.size()) {
            if (m_inMemory) {
                fail("read beyond the end of a stream");
            }
            fillWindow(pos);
        }
        const std::size_t offset = static_cast<std::size_t>(pos - m_windowStart);
        const std::size_t chunk = std::min(n, m_window.size() - offset);
        std::copy_n(m_window.data() + offset, chunk, destination);
        destination += chunk;
        pos += chunk;
        n -= chunk;
    }
}

const unsigned char* CfbStream::viewOutsideWindow(std::uint64_t pos, std::size_t n)
{
    if (pos > m_size || n > m_size - pos) {
        fail("read beyond the end of a stream");
    }
    if (pos < m_windowStart || pos + n > m_windowStart + m_window.size()) {
        if (m_inMemory) {
            fail("read beyond the end of a stream");
        }
        // The window starts at the sector holding pos and is far larger than any record, so
        // the bytes fit once it is filled there.
        fillWindow(pos);
        if (pos + n > m_windowStart + m_window.size()) {
            fail("a record is larger than the read window");
        }
    }
    return m_window.data() + (pos - m_windowStart);
}

void CfbStream::fillWindow(std::uint64_t pos)
{
    const std::uint64_t sectorSize = std::uint64_t{1} << m_sectorShift;
    const std::uint64_t firstSector = pos >> m_sectorShift;
    m_windowStart = firstSector << m_sectorShift;
    const std::uint64_t length = std::min(windowSize, m_size - m_windowStart);
    m_window.resize(static_cast<std::size_t>(length));

    // Consecutive sectors of the chain are read with one call.
    const std::lock_guard<std::mutex> deviceInUse(*m_deviceLock);
    std::uint64_t done = 0;
    std::size_t index = static_cast<std::size_t>(firstSector);
    while (done < length) {
        std::size_t runEnd = index + 1;
        while (runEnd < m_sectors.size() && m_sectors[runEnd] == m_sectors[runEnd - 1] + 1 &&
               (runEnd - index) * sectorSize < length - done) {
            ++runEnd;
        }
        const std::uint64_t want =
            std::min<std::uint64_t>((runEnd - index) * sectorSize, length - done);
        const std::uint64_t fileOffset = (std::uint64_t{m_sectors[index]} + 1) << m_sectorShift;
        if (!m_device->seek(static_cast<qint64>(fileOffset))) {
            fail("cannot seek in the file");
        }
        const qint64 got = m_device->read(reinterpret_cast<char*>(m_window.data() + done),
                                          static_cast<qint64>(want));
        if (got != static_cast<qint64>(want)) {
            fail("the file ends inside a stream");
        }
        done += want;
        index = runEnd;
    }
}

} // namespace setzaiko::xls
