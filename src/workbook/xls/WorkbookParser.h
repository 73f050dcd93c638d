#pragma once

#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/CfbStream.h"
#include "workbook/xls/CompoundFile.h"
#include "workbook/xls/SheetCellReader.h"
#include "workbook/xls/XlsWorkbook.h"

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
        std::uint64_t offset = 0; // of its BOF record in the stream
        std::uint64_t end = 0;    // where the next substream begins, or the end of the stream
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
    const std::vector<QString>& sharedStrings() const { return *m_sst; }
    // Keeps the shared strings, whose texts cells point to, beyond the parser.
    std::shared_ptr<const void> sharedStringHolder() const { return m_sst; }
    CfbStream& stream() const { return *m_stream; }

    // Found once per worksheet and remembered.
    const Layout& layout(int sheet) const;

private:
    void readGlobals();
    void placeSheets(std::vector<Sheet> entries, const std::vector<bool>& isWorksheet,
                     std::uint64_t globalsEnd);
    void readSharedStrings(RecordReader& records, std::vector<unsigned char> data);

    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<CompoundFile> m_file;
    std::unique_ptr<CfbStream> m_stream;
    std::vector<Sheet> m_sheets;
    std::shared_ptr<std::vector<QString>> m_sst = std::make_shared<std::vector<QString>>();
    mutable std::vector<std::optional<Layout>> m_layouts;
};

// One quick pass over the record headers of a worksheet's substream: its used part and whether
// its cells come in row order. Throws WorkbookError, also when the records do not end exactly
// where the substream ends: a length field that is off shifts every record after it, and
// reading on would lose rows without a trace.
WorkbookParser::Layout scanLayout(CfbStream& stream, const WorkbookParser::Sheet& sheet);

} // namespace setzaiko::xls
