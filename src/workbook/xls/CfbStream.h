#pragma once

#include <QIODevice>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace setzaiko::xls {

// One stream of a compound file, read on demand through a window of its sectors, so that a
// large workbook is never held in memory as a whole. A stream is used by one thread at a time;
// a fork of it, with a window of its own, may be read on another thread at the same time.
class CfbStream
{
public:
    // A stream stored in regular sectors of the file.
    CfbStream(QIODevice& device, std::vector<std::uint32_t> sectors, int sectorShift,
              std::uint64_t size);
    // A small stream already assembled in memory (from the mini stream).
    explicit CfbStream(std::vector<unsigned char> bytes);

    std::uint64_t size() const { return m_size; }

    // The same stream with a window of its own. The device is shared, and reached by one
    // stream at a time.
    std::unique_ptr<CfbStream> fork() const;

    // Copies n bytes from offset pos; throws WorkbookError when they lie beyond the stream or
    // cannot be read from the file.
    void read(std::uint64_t pos, unsigned char* destination, std::size_t n);
    // The n bytes at pos in place, valid until the next read or view; n is at most the size of
    // one record. Throws WorkbookError as read does.
    const unsigned char* view(std::uint64_t pos, std::size_t n)
    {
        // The window lies inside the stream: bytes inside the window need no other check.
        if (pos >= m_windowStart) {
            const std::uint64_t offset = pos - m_windowStart;
            if (offset <= m_window.size() && n <= m_window.size() - offset) {
                return m_window.data() + offset;
            }
        }
        return viewOutsideWindow(pos, n);
    }

private:
    const unsigned char* viewOutsideWindow(std::uint64_t pos, std::size_t n);
    void fillWindow(std::uint64_t pos);

    QIODevice* m_device = nullptr;
    std::shared_ptr<std::mutex> m_deviceLock;
    std::vector<std::uint32_t> m_sectors;
    int m_sectorShift = 9;
    std::uint64_t m_size = 0;

    std::vector<unsigned char> m_window;
    std::uint64_t m_windowStart = 0;
    bool m_inMemory = false;
};

} // namespace setzaiko::xls
