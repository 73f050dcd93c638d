#pragma once

#include "import/xls/BiffRecords.h"
#include "import/xls/CfbStream.h"
#include "import/xls/CompoundFile.h"
#include "import/xls/SheetCellReader.h"
#include "import/xls/XlsWorkbook.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace setzaiko::xls {

// The workbook globals of a BIFF8 stream: its worksheets and shared strings. The worksheets
// themselves are read when asked for.
class WorkbookParser
{
public:
    struct Sheet
    {
        QString name;
        std::uint64_t offset = 0;
    };

    // What one pass over a worksheet's positions tells.
    struct Layout
    {
        UsedRange range;
        bool rowsInOrder = true; // no stored cell stands before one of an earlier row
    };

    // Throws WorkbookError.
    explicit WorkbookParser(std::unique_ptr<QIODevice> device);

    const std::vector<Sheet>& sheets() const { return m_sheets; }
    const std::vector<QString>& sharedStrings() const { return m_sst; }
    CfbStream& stream() const { return *m_stream; }

    // Found once per worksheet and remembered.
    const Layout& layout(int sheet) const;

private:
    void readGlobals();
    void readSharedStrings(RecordReader& records, std::vector<unsigned char> data);

    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<CompoundFile> m_file;
    std::unique_ptr<CfbStream> m_stream;
    std::vector<Sheet> m_sheets;
    std::vector<QString> m_sst;
    mutable std::vector<std::optional<Layout>> m_layouts;
};

// One quick pass over the record headers of the worksheet at offset: its used part and whether
// its cells come in row order. Throws WorkbookError.
WorkbookParser::Layout scanLayout(CfbStream& stream, std::uint64_t offset);

} // namespace setzaiko::xls
