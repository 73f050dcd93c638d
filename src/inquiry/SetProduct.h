#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// The set product chosen in the inquiry list, as the component screen starts from it.
struct SetProduct
{
    QString code;
    QString name;
    QString unit;
    std::int32_t stock = 0;

    friend bool operator==(const SetProduct&, const SetProduct&) = default;
};

} // namespace setzaiko
