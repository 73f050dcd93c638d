#include "import/xls/WorkbookParser.h"

#include "import/xls/BiffRecords.h"
#include "import/xls/ContinueReader.h"
#include "import/xls/LittleEndian.h"
#include "import/xls/SheetCellReader.h"
#include "import/xls/XlsError.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::xls {

namespace {
constexpr std::uint16_t biff8 = 0x0600;
constexpr std::uint16_t globalsSubstream = 0x0005;
constexpr std::uint8_t worksheetType = 0x00;
} // namespace

WorkbookParser::WorkbookParser(std::unique_ptr<QIODevice> device) : m_device(std::move(device))
{
    if (!m_device || !m_device->isOpen() || m_device->isSequential()) {
        fail("the workbook cannot be read");
    }
    m_file = std::make_unique<CompoundFile>(*m_device);
    m_stream = m_file->openRootStream({u"Workbook"_s, u"Book"_s});
    if (!m_stream) {
        fail("the file holds no workbook stream");
    }
    readGlobals();
    m_layouts.resize(m_sheets.size());
}

void WorkbookParser::readGlobals()
{
    RecordReader records(*m_stream, 0);
    Record record;
    if (!records.next(record) || record.type != record::bof || record.data.size() < 4) {
        fail("the workbook stream does not start with a BIFF8 header");
    }
    if (u16At(&record.data[0]) != biff8 || u16At(&record.data[2]) != globalsSubstream) {
        fail("not an Excel 97-2003 (BIFF8) workbook");
    }
    while (true) {
        if (!records.next(record)) {
            fail("the workbook globals end without their end record");
        }
        switch (record.type) {
        case record::eof:
            return;
        case record::filePass:
            fail("the workbook is encrypted");
        case record::boundSheet: {
            if (record.data.size() < 8) {
                fail("a sheet entry is too short");
            }
            const std::uint32_t offset = u32At(&record.data[0]);
            const std::uint8_t type = record.data[5];
            // The name must lie within this record: it never continues.
            RecordReader none(*m_stream, m_stream->size());
            ContinueReader name(
                none, std::vector<unsigned char>(record.data.begin() + 6, record.data.end()));
            Sheet sheet{name.shortUnicodeString(), offset};
            if (type == worksheetType) {
                m_sheets.push_back(std::move(sheet));
            }
            break;
        }
        case record::sst:
            readSharedStrings(records, std::move(record.data));
            break;
        default:
            break;
        }
    }
}

void WorkbookParser::readSharedStrings(RecordReader& records, std::vector<unsigned char> data)
{
    ContinueReader reader(records, std::move(data));
    reader.u32(); // total references, not needed
    const std::uint32_t unique = reader.u32();
    // The declared count is not trusted for memory: the table grows with the strings read.
    m_sst.reserve(std::min<std::uint32_t>(unique, 65536));
    for (std::uint32_t i = 0; i < unique; ++i) {
        if (reader.atEnd()) {
            fail("the shared string table holds fewer strings than it declares");
        }
        m_sst.push_back(reader.unicodeString());
    }
}

const WorkbookParser::Layout& WorkbookParser::layout(int sheet) const
{
    std::optional<Layout>& cached = m_layouts.at(static_cast<std::size_t>(sheet));
    if (!cached) {
        SheetCellReader reader(*m_stream, m_sheets[static_cast<std::size_t>(sheet)].offset, m_sst,
                               false);
        Layout layout;
        SheetCell cell;
        int lastRow = -1;
        int lastColumn = -1;
        int previousRow = 0;
        while (reader.next(cell)) {
            lastRow = std::max(lastRow, cell.row);
            lastColumn = std::max(lastColumn, cell.column);
            if (cell.row < previousRow) {
                layout.rowsInOrder = false;
            }
            previousRow = cell.row;
        }
        layout.range.rows = lastRow + 1;
        layout.range.columns = lastColumn + 1;
        if (const auto& extent = reader.declaredExtent()) {
            layout.range.rows = std::max(layout.range.rows, extent->rows);
            layout.range.columns = std::max(layout.range.columns, extent->columns);
        }
        cached = layout;
    }
    return *cached;
}

} // namespace setzaiko::xls
