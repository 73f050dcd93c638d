#include "import/SheetRules.h"

#include "common/CheckedInt.h"
#include "common/NumberText.h"
#include "common/TextRules.h"
#include "import/ImportRunTexts.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::importrun {

namespace {

constexpr std::int32_t quantityLimit = 9'999'999;
constexpr int productColumns = 10; // A to J
constexpr int stockColumns = 8;    // A to H

bool isBlank(const CellValue& cell)
{
    return cell.isEmpty() || (cell.kind == CellValue::Kind::Text && !cell.keptPlain &&
                              rightTrimmedView(cell.textView()).isEmpty());
}

bool isMarker(const CellValue& cell)
{
    return cell.kind == CellValue::Kind::Text &&
           rightTrimmedView(cell.textView()) == importruntexts::startMarker;
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

// The row rules of one master sheet, into its table. Each sheet keeps its own start and its
// own last offence, so that the two master sheets can be read side by side.
} // namespace

TableKind kindOf(const QString& sheetName)
{
    if (sheetName == importruntexts::productSheet) {
        return TableKind::Product;
    }
    if (sheetName == importruntexts::stockSheet) {
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

SheetRules::SheetRules(TableKind kind, ProductMaster& products, StockMaster& stocks)
    : m_kind(kind), m_products(products), m_stocks(stocks)
{}

void SheetRules::apply(std::vector<CellValue>& cells)
{
    switch (m_kind) {
    case TableKind::Product:
        if (starts(cells)) {
            appendProduct(cells);
        }
        break;
    case TableKind::Stock:
        if (starts(cells)) {
            appendStock(cells);
        }
        break;
    case TableKind::Other:
        break;
    }
}

void SheetRules::finish()
{
    switch (m_kind) {
    case TableKind::Product:
        m_products.buildCodeIndex();
        break;
    case TableKind::Stock:
        m_stocks.buildCodeIndex();
        break;
    case TableKind::Other:
        break;
    }
}

// The cell's text, right-trimmed, taken out of the cell: each row's cells are used once. A
// text the workbook keeps is pointed to where it lies, unless trimming changes it.
TableText SheetRules::takeText(CellValue& cell, TableTexts& texts)
{
    switch (cell.kind) {
    case CellValue::Kind::Text:
        if (cell.kept) {
            // A plain text is neither trimmed nor empty: it is taken without being read.
            if (!cell.keptPlain) {
                const QStringView trimmed = rightTrimmedView(*cell.kept);
                if (!m_textHolder || trimmed.size() != cell.kept->size()) {
                    return texts.own(trimmed.toString());
                }
            } else if (!m_textHolder) {
                return texts.own(QStringView(*cell.kept).toString());
            }
            if (!m_textHolderKept) {
                texts.keep(m_textHolder);
                m_textHolderKept = true;
            }
            return cell.keptPlain ? TableText::ofPlain(cell.kept) : TableText(cell.kept);
        }
        return texts.own(rightTrim(std::move(cell.text)));
    case CellValue::Kind::Number:
        return texts.own(numberToText(cell.number)); // never ends in a space
    case CellValue::Kind::Empty:
        break;
    }
    return {};
}

void SheetRules::discardRows()
{
    switch (m_kind) {
    case TableKind::Product:
        m_products.empty();
        break;
    case TableKind::Stock:
        m_stocks.empty();
        break;
    case TableKind::Other:
        break;
    }
    m_rows = 0;
    m_started = false;
    m_offence = ImportStatus::Ok;
    m_textHolderKept = false; // the emptied table keeps nothing
}

// Rows without a code are skipped wherever they stand; before the first marked row with a code,
// every row is skipped.
bool SheetRules::starts(const std::vector<CellValue>& cells)
{
    if (isBlank(cells[1])) {
        return false;
    }
    if (!m_started) {
        if (!isMarker(cells[0])) {
            return false;
        }
        m_started = true;
    }
    return true;
}

void SheetRules::appendProduct(std::vector<CellValue>& cells)
{
    TableTexts& texts = m_products.texts();
    ProductMasterRow row;
    row.setCode = takeText(cells[1], texts);
    row.f3Text = takeText(cells[2], texts);
    row.f4Text = takeText(cells[3], texts);
    row.f5Text = takeText(cells[4], texts);
    row.f6Text = takeText(cells[5], texts);
    row.componentCode = takeText(cells[6], texts);
    row.f8Text = takeText(cells[7], texts);
    row.quantityPerSet = quantityField(cells[8], m_offence);
    row.f10Text = takeText(cells[9], texts);
    m_products.append(row);
    ++m_rows;
}

void SheetRules::appendStock(std::vector<CellValue>& cells)
{
    TableTexts& texts = m_stocks.texts();
    StockMasterRow row;
    row.productCode = takeText(cells[1], texts);
    row.productName = takeText(cells[2], texts);
    row.unit = takeText(cells[3], texts);
    row.setFlag = takeText(cells[4], texts);
    row.stockQuantity = quantityField(cells[5], m_offence);
    row.reservedQuantity = 0;
    row.remarks = takeText(cells[7], texts);
    m_stocks.append(row);
    ++m_rows;
}

} // namespace setzaiko::importrun
