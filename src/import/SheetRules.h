#pragma once

#include "import/ImportRun.h"
#include "master/TableText.h"
#include "workbook/CellValue.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

namespace setzaiko::importrun {

enum class TableKind { Product, Stock, Other };

TableKind kindOf(const QString& sheetName);
// The columns read from a sheet of that kind, from column A.
int columnsOf(TableKind kind);

// A quantity that does not fit in 32 bits ends the run as an unexpected error.
class QuantityOutOfRange : public std::exception
{
public:
    const char* what() const noexcept override { return "a quantity does not fit in 32 bits"; }
};

// The row rules of one master sheet, into its table. Each sheet keeps its own start and its
// own last offence, so that the two master sheets can be read side by side.
class SheetRules
{
public:
    SheetRules(TableKind kind, ProductMaster& products, StockMaster& stocks);

    // What keeps the texts the sheet's cells point to (WorkbookTable::textHolder): the rows
    // then point to them too, and the table keeps it. Without it each such text is copied.
    void keepTextsOf(std::shared_ptr<const void> holder) { m_textHolder = std::move(holder); }

    // Applies the rules to one row read; its cells' texts are taken out of it. Throws
    // QuantityOutOfRange.
    void apply(std::vector<CellValue>& cells);

    // After the sheet's last row: builds its table's code index here, on the thread that read
    // the sheet, so that the first listing after the import finds it ready.
    void finish();

    // Takes back every row this sheet added: its table is left empty, as each master sheet is
    // the only one to fill its table, and the rules start again as before the sheet's first row.
    void discardRows();

    TableKind kind() const { return m_kind; }

    // The rows this sheet has added to its table.
    std::int32_t rows() const { return m_rows; }
    // The status of the sheet's last offending row, Ok when it had none.
    ImportStatus offence() const { return m_offence; }

private:
    bool starts(const std::vector<CellValue>& cells);
    void appendProduct(std::vector<CellValue>& cells);
    void appendStock(std::vector<CellValue>& cells);
    TableText takeText(CellValue& cell, TableTexts& texts);

    TableKind m_kind;
    ProductMaster& m_products;
    StockMaster& m_stocks;
    bool m_started = false;
    std::int32_t m_rows = 0;
    ImportStatus m_offence = ImportStatus::Ok;
    std::shared_ptr<const void> m_textHolder;
    bool m_textHolderKept = false; // by the table, since it was last emptied
};

} // namespace setzaiko::importrun
