#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// One component line of one set product: one set of setCode holds quantityPerSet units of
// componentCode. The F-texts are kept as read and used nowhere.
struct ProductMasterRow
{
    QString setCode;
    QString f3Text;
    QString f4Text;
    QString f5Text;
    QString f6Text;
    QString componentCode;
    QString f8Text;
    std::int32_t quantityPerSet = 0;
    QString f10Text;
};

} // namespace setzaiko
