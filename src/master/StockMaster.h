#pragma once

#include "master/MasterTable.h"
#include "master/StockMasterRow.h"

namespace setzaiko {

// One row per product, set products and components alike, in worksheet order.
class StockMaster : public MasterTable<StockMasterRow, NewStockRow, &StockMasterRow::productCode>
{};

} // namespace setzaiko
