#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// One component line of one set product: one set of SetCode holds ComponentQty units of
// ComponentCode. The F-texts are kept as read and used nowhere.
struct ProductMasterRow
{
    QString SetCode;
    QString F3Text;
    QString F4Text;
    QString F5Text;
    QString F6Text;
    QString ComponentCode;
    QString F8Text;
    std::int32_t ComponentQty = 0;
    QString F10Text;
};

} // namespace setzaiko
