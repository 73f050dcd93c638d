#pragma once

#include "workbook/xlsx/ZipArchive.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace setzaiko::xlsx {

// Inflates one entry on a thread of its own, a few chunks ahead of its reader, so that
// inflating a large part and parsing it share the machine's cores. Holds at most a fixed
// number of chunks, however large the entry. The archive is not to be used otherwise until
// this is destroyed. A small entry, or one where no thread is to be had, is inflated as it is
// read.
class InflateAhead
{
public:
    InflateAhead(ZipArchive& archive, const ZipEntry& entry);
    // Stops the thread and waits for it.
    ~InflateAhead();

    InflateAhead(const InflateAhead&) = delete;
    InflateAhead& operator=(const InflateAhead&) = delete;

    // As ZipEntryReader::read: up to capacity bytes, 0 once the whole entry has been read.
    // Throws what inflating threw, after the bytes inflated before it.
    std::size_t read(char* destination, std::size_t capacity);

private:
    void run();

    ZipEntryReader m_reader;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<char>> m_ready;  // inflated, not yet read; empty chunk: the end
    std::vector<std::vector<char>> m_spare; // read, to be filled again
    std::exception_ptr m_failure;
    bool m_stop = false;
    std::vector<char> m_current;
    std::size_t m_taken = 0;
    bool m_ended = false;
    std::thread m_thread;
};

} // namespace setzaiko::xlsx
