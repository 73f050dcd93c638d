#pragma once

#include "master/TableText.h"

#include <QString>

#include <cstdint>

namespace setzaiko {

// A component line to append to the product master, with texts of its own.
struct NewProductRow
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

// One component line of one set product: one set of setCode holds quantityPerSet units of
// componentCode. The F-texts are kept as read and used nowhere.
struct ProductMasterRow
{
    TableText setCode;
    TableText f3Text;
    TableText f4Text;
    TableText f5Text;
    TableText f6Text;
    TableText componentCode;
    TableText f8Text;
    std::int32_t quantityPerSet = 0;
    TableText f10Text;

    static ProductMasterRow from(NewProductRow row, TableTexts& texts)
    {
        return {texts.own(std::move(row.setCode)), texts.own(std::move(row.f3Text)),
                texts.own(std::move(row.f4Text)),  texts.own(std::move(row.f5Text)),
                texts.own(std::move(row.f6Text)),  texts.own(std::move(row.componentCode)),
                texts.own(std::move(row.f8Text)),  row.quantityPerSet,
                texts.own(std::move(row.f10Text))};
    }
};

} // namespace setzaiko
