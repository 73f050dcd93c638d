#include "import/ImportRun.h"

#include "common/CheckedInt.h"
#include "common/NumberFormat.h"
#include "common/NumberText.h"
#include "common/TextRules.h"
#include "import/ImportTexts.h"
#include "import/Workbook.h"

#include <cmath>
#include <exception>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

constexpr std::int32_t quantityLimit = 9'999'999;
constexpr int productColumns = 10; // A to J
constexpr int stockColumns = 8;    // A to H

enum class TableKind { Product, Stock, Other };

// A quantity that does not fit in 32 bits ends the run as an unexpected error.
class QuantityOutOfRange : public std::exception
{
public:
    const char* what() const noexcept override { return "a quantity does not fit in 32 bits"; }
};

// The cell's text, right-trimmed, taken out of the cell: each row's cells are used once.
QString takeText(CellValue& cell)
{
    switch (cell.kind) {
    case CellValue::Kind::Text:
        return rightTrim(std::move(cell.text));
    case CellValue::Kind::Number:
        return numberToText(cell.number); // never ends in a space
    case CellValue::Kind::Empty:
        break;
    }
    return {};
}

bool isBlank(const CellValue& cell)
{
    return cell.isEmpty() ||
           (cell.kind == CellValue::Kind::Text && rightTrimmedView(cell.text).isEmpty());
}

bool isMarker(const CellValue& cell)
{
    return cell.kind == CellValue::Kind::Text &&
           rightTrimmedView(cell.text) == importtexts::startMarker;
}

// A quantity cell: a number cell converts through its text, a text cell must be numeric.
// Offences are remembered in status and never stop the run.
std::int32_t quantityField(const CellValue& cell, ImportStatus& status)
{
    if (cell.isEmpty()) {
        status = ImportStatus::NotNumeric;
        return 0;
    }
    // A whole number below 1e15 reads as its own plain digits: its value needs no text.
    const double number = cell.number;
    if (cell.isNumber() && number == std::trunc(number) && std::fabs(number) < 1e15) {
        const auto whole = checked::narrow(static_cast<std::int64_t>(number));
        if (!whole) {
            throw QuantityOutOfRange();
        }
        if (*whole > quantityLimit) {
            status = ImportStatus::OverLimit;
        }
        return *whole;
    }
    const Int32Result converted = textToInt32(cell.toText());
    switch (converted.status) {
    case Int32Conversion::NotNumeric:
        status = ImportStatus::NotNumeric;
        return 0;
    case Int32Conversion::OutOfRange:
        throw QuantityOutOfRange();
    case Int32Conversion::Ok:
        break;
    }
    if (converted.value > quantityLimit) {
        status = ImportStatus::OverLimit;
    }
    return converted.value;
}

class RowRules
{
public:
    RowRules(ProductMaster& products, StockMaster& stocks, ImportStatus& status)
        : m_products(products), m_stocks(stocks), m_status(status)
    {}

    void apply(TableKind kind, std::vector<CellValue>& cells)
    {
        switch (kind) {
        case TableKind::Product:
            if (starts(cells, m_productStarted)) {
                appendProduct(cells);
            }
            break;
        case TableKind::Stock:
            if (starts(cells, m_stockStarted)) {
                appendStock(cells);
            }
            break;
        case TableKind::Other:
            break;
        }
    }

private:
    // Rows without a code are skipped wherever they stand; before the first marked row with a
    // code, every row is skipped.
    static bool starts(const std::vector<CellValue>& cells, bool& started)
    {
        if (isBlank(cells[1])) {
            return false;
        }
        if (!started) {
            if (!isMarker(cells[0])) {
                return false;
            }
            started = true;
        }
        return true;
    }

    void appendProduct(std::vector<CellValue>& cells)
    {
        ProductMasterRow row;
        row.SetCode = takeText(cells[1]);
        row.F3Text = takeText(cells[2]);
        row.F4Text = takeText(cells[3]);
        row.F5Text = takeText(cells[4]);
        row.F6Text = takeText(cells[5]);
        row.ComponentCode = takeText(cells[6]);
        row.F8Text = takeText(cells[7]);
        row.ComponentQty = quantityField(cells[8], m_status);
        row.F10Text = takeText(cells[9]);
        m_products.append(std::move(row));
    }

    void appendStock(std::vector<CellValue>& cells)
    {
        StockMasterRow row;
        row.ProductCode = takeText(cells[1]);
        row.ProductName = takeText(cells[2]);
        row.Unit = takeText(cells[3]);
        row.SetFlag = takeText(cells[4]);
        row.StockQty = quantityField(cells[5], m_status);
        row.ReservedQty = 0;
        row.Remarks = takeText(cells[7]);
        m_stocks.append(std::move(row));
    }

    ProductMaster& m_products;
    StockMaster& m_stocks;
    ImportStatus& m_status;
    bool m_productStarted = false;
    bool m_stockStarted = false;
};

bool isWorksheet(const QString& tableName)
{
    return tableName.endsWith(u'$') || tableName.endsWith(u"$'"_s);
}

TableKind kindOf(const QString& tableName)
{
    if (tableName == importtexts::productTable) {
        return TableKind::Product;
    }
    if (tableName == importtexts::stockTable) {
        return TableKind::Stock;
    }
    return TableKind::Other;
}

int columnsOf(TableKind kind)
{
    switch (kind) {
    case TableKind::Product:
        return productColumns;
    case TableKind::Stock:
        return stockColumns;
    case TableKind::Other:
        break;
    }
    // Other worksheets are walked row by row for the counts, but none of their columns is
    // needed, so a narrow sheet there cannot fail the import.
    return 0;
}

void readWorkbook(Workbook& workbook, ProductMaster& products, StockMaster& stocks,
                  ImportStatus& status, std::optional<ImportCounts>& counts,
                  ImportObserver* observer)
{
    RowRules rules(products, stocks, status);
    std::vector<CellValue> cells;
    for (const QString& name : workbook.tableNames()) {
        if (!isWorksheet(name)) {
            continue;
        }
        const TableKind kind = kindOf(name);
        const std::unique_ptr<WorkbookTable> table = workbook.openTable(name, columnsOf(kind));
        if (observer) {
            observer->stepDone();
        }
        while (table->nextRow(cells)) {
            rules.apply(kind, cells);
            counts = ImportCounts{products.count(), stocks.count()};
            if (observer) {
                observer->rowRead(*counts);
            }
        }
    }
}

void decideOutcome(ImportResult& result, const ProductMaster& products, const StockMaster& stocks)
{
    result.fileButtonEnabled = true;
    result.exitButtonEnabled = true;
    result.okButtonEnabled = false;
    if (result.status == ImportStatus::OverLimit) {
        result.outcome = ImportResult::Outcome::OverLimit;
        result.messageLine = importtexts::overLimit.toString();
    } else if (result.status == ImportStatus::NotNumeric) {
        result.outcome = ImportResult::Outcome::NotNumeric;
        result.messageLine = importtexts::notNumeric.toString();
    } else if (products.count() == 0 || stocks.count() == 0) {
        result.outcome = ImportResult::Outcome::NoRows;
        result.status = ImportStatus::NoRows;
        result.messageLine = (products.count() == 0 && stocks.count() == 0)
                                 ? importtexts::bothEmpty.toString()
                             : products.count() == 0 ? importtexts::productsEmpty.toString()
                                                     : importtexts::stocksEmpty.toString();
    } else {
        result.outcome = ImportResult::Outcome::Success;
        result.okButtonEnabled = true;
        const ImportCounts counts{products.count(), stocks.count()};
        result.messageBox = importtexts::totalBoxBefore.toString() +
                            QString::number(counts.total()) + importtexts::totalBoxAfter.toString();
        result.messageLine = importtexts::success.toString();
    }
}

} // namespace

QString countText(std::int64_t count)
{
    return formatNumber(count, formats::grouped6);
}

ImportResult runImport(const QString& pathText, WorkbookOpener& opener, ProductMaster& products,
                       StockMaster& stocks, ImportObserver* observer)
{
    ImportResult result;
    const QString path = rightTrim(pathText);
    if (path.isEmpty()) {
        result.outcome = ImportResult::Outcome::Refused;
        result.beep = true;
        result.messageBox = importtexts::selectFile.toString();
        return result;
    }

    products.empty();
    stocks.empty();
    if (observer) {
        observer->started();
    }
    try {
        // The workbook is closed when this block is left, whatever happens in it.
        const std::unique_ptr<Workbook> workbook = opener.open(path);
        if (observer) {
            observer->stepDone();
        }
        readWorkbook(*workbook, products, stocks, result.status, result.counts, observer);
    } catch (const std::exception& failure) {
        result.outcome = ImportResult::Outcome::Failed;
        result.status = ImportStatus::Failed;
        result.beep = true;
        result.messageBox = importtexts::failed.toString();
        result.messageLine = importtexts::failed.toString();
        result.exitButtonEnabled = true;
        result.failureDetail = QString::fromUtf8(failure.what());
        return result;
    }
    decideOutcome(result, products, stocks);
    return result;
}

} // namespace setzaiko
