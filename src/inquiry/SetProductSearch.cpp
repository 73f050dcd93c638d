#include "inquiry/SetProductSearch.h"

#include "common/NumberFormat.h"
#include "common/TextRules.h"
#include "inquiry/InquiryTexts.h"

namespace setzaiko {

namespace {

SetProductListRow listRow(int number, const StockMasterRow& row)
{
    return {formatNumber(number, formats::digits3),
            row.productName,
            row.productCode,
            formatNumber(row.stockQuantity, formats::grouped9),
            row.unit,
            row.remarks,
            QString()};
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
        if (!row.isSetProduct() || !row.productCode.contains(code, Qt::CaseSensitive) ||
            !row.productName.contains(name, Qt::CaseSensitive)) {
            continue;
        }
        if (static_cast<int>(result.rows.size()) == capacity) {
            result.limitReached = true;
            result.limitBox =
                (result.filtered ? inquirytexts::limitBoxFiltered : inquirytexts::limitBoxAll)
                    .toString();
            result.limitLine = inquirytexts::limitLine.toString();
            break;
        }
        result.rows.push_back(listRow(static_cast<int>(result.rows.size()) + 1, row));
        result.products.push_back({row.productCode, row.productName, row.unit, row.stockQuantity});
    }
    if (!result.products.empty()) {
        result.selection = result.products.front();
    }
    return result;
}

} // namespace setzaiko
