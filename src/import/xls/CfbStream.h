#pragma once

#include <QIODevice>

#include <cstdint>
#include <vector>

namespace setzaiko::xls {

// One stream of a compound file, read on demand through a window of its sectors, so that a
// large workbook is never held in memory as a whole.
class CfbStream
{
public:
    // A stream stored in regular sectors of the file.
    CfbStream(QIODevice& device, std::vector<std::uint32_t> sectors, int sectorShift,
              std::uint64_t size);
    // A small stream already assembled in memory (from the mini stream).
    explicit CfbStream(std::vector<unsigned char> bytes);

    std::uint64_t size() const { return m_size; }

    // Copies n bytes from offset pos; throws WorkbookError when they lie beyond the stream or
    // cannot be read from the file.
    void read(std::uint64_t pos, unsigned char* destination, std::size_t n);
    // The n bytes at pos in place, valid until the next read or view; n is at most the size of
    // one record. Throws WorkbookError as read does.
    const unsigned char* view(std::uint64_t pos, std::size_t n);

private:
    void fillWindow(std::uint64_t pos);

    QIODevice* m_device = nullptr;
    std::vector<std::uint32_t> m_sectors;
    int m_sectorShift = 9;
    std::uint64_t m_size = 0;

    std::vector<unsigned char> m_window;
    std::uint64_t m_windowStart = 0;
    bool m_inMemory = false;
};

} // namespace setzaiko::xls
