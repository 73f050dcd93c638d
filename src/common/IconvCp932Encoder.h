#pragma once

#include "common/Cp932Encoder.h"

#include <iconv.h>
#include <mutex>

namespace setzaiko {

// Code page 932 through the C library's iconv converter "CP932", with the Windows best-fit
// mappings that a strict converter table may lack laid over it. One converter descriptor is
// opened per encoder and reused; encode() may be called from several threads.
class IconvCp932Encoder final : public Cp932Encoder
{
public:
    // Throws std::runtime_error when the C library has no "CP932" converter.
    IconvCp932Encoder();
    ~IconvCp932Encoder() override;

    IconvCp932Encoder(const IconvCp932Encoder&) = delete;
    IconvCp932Encoder& operator=(const IconvCp932Encoder&) = delete;

    QByteArray encode(const QString& text) const override;

private:
    // Converts a run of UTF-16 code units (whole characters only) and appends the bytes.
    void convertRun(const char16_t* run, qsizetype length, QByteArray& out) const;

    iconv_t m_converter;
    mutable std::mutex m_mutex;
};

} // namespace setzaiko
