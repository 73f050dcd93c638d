#pragma once

#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/XlsWorkbook.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace setzaiko::xls {

struct SheetCell
{
    int row = 0;
    int column = 0;
    XlsCell cell;
};

// The extent a worksheet declares for itself (DIMENSIONS): rows and columns before which
// every used cell lies.
struct DeclaredExtent
{
    int rows = 0;
    int columns = 0;
};

// Walks the cell records of one worksheet substream in file order. Charts and other objects
// embedded in the worksheet are skipped. With decodeValues false only the positions are
// read, which is enough to find the used part quickly.
class SheetCellReader
{
public:
    SheetCellReader(CfbStream& stream, std::uint64_t bofOffset, const std::vector<QString>& sst,
                    bool decodeValues);

    // The next stored cell, or false at the worksheet's end. Throws WorkbookError.
    bool next(SheetCell& cell);
    // From now on a text of the shared strings is handed out as kept there (CellValue::kept),
    // pointing into sst, instead of as a text of the cell's own.
    void pointIntoSharedStrings() { m_pointIntoSst = true; }

    const std::optional<DeclaredExtent>& declaredExtent() const { return m_extent; }

private:
    bool nextMultiCell(SheetCell& cell);
    void readExtent();
    void decodeFormula(SheetCell& cell);
    QString stringAt(std::size_t offset);

    RecordReader m_records;
    const std::vector<QString>& m_sst;
    bool m_decode;
    bool m_pointIntoSst = false;
    Record m_record;
    int m_depth = 0;
    bool m_finished = false;
    std::optional<DeclaredExtent> m_extent;

    // The cells of a MULRK or MULBLANK record still to hand out.
    int m_multiRow = 0;
    int m_multiNext = 0;
    int m_multiEnd = 0;
    bool m_multiRk = false;
};

// The value of an RK number.
double decodeRk(std::uint32_t rk);

// The text of a cell error code ("#DIV/0!" ...).
QString errorText(std::uint8_t code);

} // namespace setzaiko::xls
