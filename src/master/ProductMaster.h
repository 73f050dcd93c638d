#pragma once

#include "master/MasterTable.h"
#include "master/ProductMasterRow.h"

namespace setzaiko {

// The composition of the set products, in worksheet order.
class ProductMaster
    : public MasterTable<ProductMasterRow, NewProductRow, &ProductMasterRow::setCode>
{};

} // namespace setzaiko
