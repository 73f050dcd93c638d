#include "workbook/xlsx/InflateAhead.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace setzaiko::xlsx {

namespace {

constexpr std::size_t chunkSize = 256 * 1024;
constexpr std::size_t chunksAhead = 4;
// A smaller entry is inflated faster than a thread is started for it.
constexpr std::uint64_t smallEntry = chunksAhead * chunkSize;

} // namespace

InflateAhead::InflateAhead(ZipArchive& archive, const ZipEntry& entry) : m_reader(archive, entry)
{
    if (entry.size < smallEntry) {
        return;
    }
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // read inflates in place
    }
}

InflateAhead::~InflateAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void InflateAhead::run()
{
    try {
        for (;;) {
            std::vector<char> chunk;
            {
                const std::lock_guard lock(m_mutex);
                if (!m_spare.empty()) {
                    chunk = std::move(m_spare.back());
                    m_spare.pop_back();
                }
            }
            chunk.resize(chunkSize);
            chunk.resize(m_reader.read(chunk.data(), chunk.size()));
            const bool last = chunk.empty();
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop || m_ready.size() < chunksAhead; });
            if (m_stop) {
                return;
            }
            m_ready.push_back(std::move(chunk));
            m_changed.notify_all();
            if (last) {
                return;
            }
        }
    } catch (...) {
        const std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
        m_changed.notify_all();
    }
}

std::size_t InflateAhead::read(char* destination, std::size_t capacity)
{
    if (!m_thread.joinable()) {
        return m_reader.read(destination, capacity);
    }
    if (m_taken == m_current.size()) {
        if (m_ended) {
            return 0;
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_ready.empty() || m_failure; });
        if (m_ready.empty()) {
            std::rethrow_exception(m_failure);
        }
        if (!m_current.empty()) {
            m_spare.push_back(std::move(m_current)); // read: the thread fills it again
        }
        m_current = std::move(m_ready.front());
        m_ready.pop_front();
        m_taken = 0;
        m_changed.notify_all();
        if (m_current.empty()) {
            m_ended = true;
            return 0;
        }
    }
    const std::size_t n = std::min(capacity, m_current.size() - m_taken);
    std::memcpy(destination, m_current.data() + m_taken, n);
    m_taken += n;
    return n;
}

} // namespace setzaiko::xlsx
