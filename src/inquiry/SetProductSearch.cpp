#include "inquiry/SetProductSearch.h"

#include "common/TextRules.h"

namespace setzaiko {

namespace {

SetProduct setProductOf(const StockMasterRow& row)
{
    return {row.productCode, row.productName, row.unit, row.stockQuantity};
}

} // namespace

bool isFilteredSearch(const QString& codeText, const QString& nameText)
{
    return !rightTrim(codeText).isEmpty() || !rightTrim(nameText).isEmpty();
}

SetProductSearchResult searchSetProducts(const StockMaster& stocks, const QString& codeText,
                                         const QString& nameText, int capacity)
{
    const QString code = rightTrim(codeText);
    const QString name = rightTrim(nameText);
    SetProductSearchResult result;
    result.filtered = isFilteredSearch(code, name);

    for (std::int32_t i = 0; i < stocks.count(); ++i) {
        const StockMasterRow& row = stocks.row(i);
        // Contains-matching is plain and exact: no character is a wildcard.
        if (!row.isSetProduct() || !row.productCode.text().contains(code, Qt::CaseSensitive) ||
            !row.productName.text().contains(name, Qt::CaseSensitive)) {
            continue;
        }
        if (static_cast<int>(result.found.size()) == capacity) {
            result.limitReached = true;
            break;
        }
        result.found.push_back({setProductOf(row), row.remarks});
    }
    return result;
}

std::optional<SetProduct> findSetProduct(const StockMaster& stocks, const QString& code)
{
    for (std::int32_t i = stocks.firstRowOf(code); i >= 0; i = stocks.codeIndex().next(i)) {
        if (stocks.row(i).isSetProduct()) {
            return setProductOf(stocks.row(i));
        }
    }
    return std::nullopt;
}

} // namespace setzaiko
