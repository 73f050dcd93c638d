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

namespace {

bool isSingleCell(std::uint16_t type)
{
    switch (type) {
    case record::number:
    case record::rk:
    case record::labelSst:
    case record::label:
    case record::rString:
    case record::boolErr:
    case record::blank:
    case record::formula:
        return true;
    default:
        return false;
    }
}

} // namespace

WorkbookParser::Layout scanLayout(CfbStream& stream, std::uint64_t offset)
{
    constexpr int maxRows = 65536;
    constexpr int maxColumns = 256;
    WorkbookParser::Layout layout;
    std::uint64_t position = offset;
    const auto header = [&](std::uint16_t& type, std::uint16_t& length) {
        if (position > stream.size() || stream.size() - position < 4) {
            fail("a worksheet ends without its end record");
        }
        const unsigned char* p = stream.view(position, 4);
        type = u16At(p);
        length = u16At(p + 2);
        if (stream.size() - position - 4 < length) {
            fail("a record runs past the end of the stream");
        }
    };

    std::uint16_t type = 0;
    std::uint16_t length = 0;
    header(type, length);
    if (type != record::bof || length < 4 || u16At(stream.view(position + 4, 4)) != 0x0600 ||
        u16At(stream.view(position + 4, 4) + 2) != 0x0010) {
        fail("a worksheet does not start where the workbook says");
    }
    position += 4 + std::uint64_t{length};

    int depth = 0;
    int lastRow = -1;
    int lastColumn = -1;
    int previousRow = 0;
    const auto cellAt = [&](int row, int column) {
        if (column >= maxColumns) {
            fail("a cell lies outside the worksheet");
        }
        lastRow = std::max(lastRow, row);
        lastColumn = std::max(lastColumn, column);
        if (row < previousRow) {
            layout.rowsInOrder = false;
        }
        previousRow = row;
    };
    for (;;) {
        header(type, length);
        const std::uint64_t data = position + 4;
        position = data + length;
        if (type == record::bof) {
            ++depth;
        } else if (type == record::eof) {
            if (depth == 0) {
                break;
            }
            --depth;
        } else if (depth > 0) {
            continue;
        } else if (isSingleCell(type)) {
            if (length < 6) {
                fail("a cell record is too short");
            }
            const unsigned char* p = stream.view(data, 4);
            cellAt(u16At(p), u16At(p + 2));
        } else if (type == record::mulRk || type == record::mulBlank) {
            const int width = type == record::mulRk ? 6 : 2;
            if (length < 6 || (length - 6) % width != 0) {
                fail("a multiple-cell record has the wrong size");
            }
            const int count = (length - 6) / width;
            if (count > 0) {
                const unsigned char* p = stream.view(data, 4);
                cellAt(u16At(p), u16At(p + 2) + count - 1);
            }
        } else if (type == record::dimensions) {
            if (length < 12) {
                fail("a cell record is too short");
            }
            const unsigned char* p = stream.view(data, 12);
            const std::uint32_t firstRow = u32At(p);
            const std::uint32_t rows = u32At(p + 4);
            const std::uint16_t firstColumn = u16At(p + 8);
            const std::uint16_t columns = u16At(p + 10);
            if (rows > maxRows || columns > maxColumns || firstRow > rows ||
                firstColumn > columns) {
                fail("the worksheet's dimensions are impossible");
            }
            layout.range.rows = std::max(layout.range.rows, static_cast<int>(rows));
            layout.range.columns = std::max(layout.range.columns, static_cast<int>(columns));
        }
    }
    layout.range.rows = std::max(layout.range.rows, lastRow + 1);
    layout.range.columns = std::max(layout.range.columns, lastColumn + 1);
    return layout;
}

const WorkbookParser::Layout& WorkbookParser::layout(int sheet) const
{
    std::optional<Layout>& cached = m_layouts.at(static_cast<std::size_t>(sheet));
    if (!cached) {
        cached = scanLayout(*m_stream, m_sheets[static_cast<std::size_t>(sheet)].offset);
    }
    return *cached;
}

} // namespace setzaiko::xls
