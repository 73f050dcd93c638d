// The whole import of a workbook file against the import of the same cells as xlrd reads
// them, handed over in memory: the reader may not change a single imported field.

#include "import/ImportRun.h"
#include "support/MemoryWorkbook.h"
#include "workbook/xls/WorkbookFixtures.h"
#include "workbook/xls/WorkbookOracles.h"
#include "workbook/xls/XlsWorkbook.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

std::vector<MemoryTable> tablesFrom(const OracleWorkbook& book)
{
    std::vector<MemoryTable> tables;
    for (const OracleSheet& sheet : book.sheets) {
        MemoryTable table{sheet.name, sheet.columns, {}};
        table.rows.assign(static_cast<std::size_t>(sheet.rows),
                          std::vector<CellValue>(static_cast<std::size_t>(sheet.columns)));
        for (const auto& [position, cell] : sheet.cells) {
            CellValue& value = table.rows.at(static_cast<std::size_t>(position.first))
                                   .at(static_cast<std::size_t>(position.second));
            if (cell.kind == OracleCell::Kind::Number) {
                value = CellValue::fromNumber(cell.number);
            } else if (cell.kind != OracleCell::Kind::Blank) {
                value = CellValue::fromText(cell.text);
            }
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

void expectSameRows(const ProductMaster& file, const ProductMaster& memory)
{
    ASSERT_EQ(file.count(), memory.count());
    for (std::int32_t i = 0; i < file.count(); ++i) {
        const ProductMasterRow& a = file.row(i);
        const ProductMasterRow& b = memory.row(i);
        const auto fields = [](const ProductMasterRow& r) {
            return QStringList{
                r.setCode, r.f3Text,        r.f4Text, r.f5Text,
                r.f6Text,  r.componentCode, r.f8Text, QString::number(r.quantityPerSet),
                r.f10Text};
        };
        ASSERT_EQ(fields(a), fields(b)) << "product row " << i;
    }
}

void expectSameRows(const StockMaster& file, const StockMaster& memory)
{
    ASSERT_EQ(file.count(), memory.count());
    for (std::int32_t i = 0; i < file.count(); ++i) {
        const auto fields = [](const StockMasterRow& r) {
            return QStringList{r.productCode,
                               r.productName,
                               r.unit,
                               r.setFlag,
                               QString::number(r.stockQuantity),
                               QString::number(r.reservedQuantity),
                               r.remarks};
        };
        ASSERT_EQ(fields(file.row(i)), fields(memory.row(i))) << "stock row " << i;
    }
}

TEST(XlsImportDifferential, ImportOfAFileEqualsImportOfItsCellsInMemory)
{
    int compared = 0;
    for (const QString& path : generatedWorkbooks() + committedWorkbooks()) {
        const OracleWorkbook xlrd = readWithXlrd(path);
        if (!xlrd.readable) {
            continue;
        }
        SCOPED_TRACE(path.toStdString());
        xls::XlsWorkbookOpener fileOpener;
        const ImportResult fromFile = runImport(path, fileOpener);
        const ProductMaster& fileProducts = fromFile.book->products();
        const StockMaster& fileStocks = fromFile.book->stocks();

        MemoryWorkbookOpener memoryOpener(tablesFrom(xlrd));
        const ImportResult fromMemory = runImport(path, memoryOpener);
        const ProductMaster& memoryProducts = fromMemory.book->products();
        const StockMaster& memoryStocks = fromMemory.book->stocks();

        EXPECT_EQ(fromFile.outcome, fromMemory.outcome) << fromFile.failureDetail.toStdString();
        EXPECT_EQ(fromFile.status, fromMemory.status);
        EXPECT_EQ(fromFile.failureDetail, fromMemory.failureDetail);
        EXPECT_EQ(fromFile.counts.has_value(), fromMemory.counts.has_value());
        if (fromFile.counts && fromMemory.counts) {
            EXPECT_EQ(fromFile.counts->products, fromMemory.counts->products);
            EXPECT_EQ(fromFile.counts->stocks, fromMemory.counts->stocks);
        }
        expectSameRows(fileProducts, memoryProducts);
        expectSameRows(fileStocks, memoryStocks);
        if (path == generatedFolder() + u"/masters.xls"_s) {
            // The generated master workbook is a real import: thousands of rows of each.
            EXPECT_GT(fileProducts.count(), 2500);
            EXPECT_GT(fileStocks.count(), 3500);
        }
        ++compared;
    }
    EXPECT_GE(compared, 5);
}

} // namespace
