#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace setzaiko {

// Encodes text in code page 932 as Windows writes it. A character that code page 932 cannot
// represent becomes one "?" (0x3F). No byte order mark is ever written.
class Cp932Encoder
{
public:
    virtual ~Cp932Encoder() = default;
    virtual QByteArray encode(const QString& text) const = 0;

    // The encoder of this platform.
    static std::unique_ptr<Cp932Encoder> create();
};

} // namespace setzaiko
