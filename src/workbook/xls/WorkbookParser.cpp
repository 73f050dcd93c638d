#include "workbook/xls/WorkbookParser.h"

#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/ContinueReader.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/SheetCellReader.h"
#include "workbook/xls/XlsError.h"

#include <QSet>

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
        // A package protected with a password is stored as a compound file of its own.
        if (m_file->openRootStream({u"EncryptedPackage"_s})) {
            fail(WorkbookFailure::Encrypted, "an encrypted package");
        }
        fail(WorkbookFailure::NotAWorkbook, "the file holds no workbook stream");
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
    if (u16At(&record.data[0]) < biff8) {
        fail(WorkbookFailure::OldFormat, "a workbook of BIFF version before BIFF8");
    }
    if (u16At(&record.data[0]) != biff8 || u16At(&record.data[2]) != globalsSubstream) {
        fail("not an Excel 97-2003 (BIFF8) workbook");
    }
    // Every sheet entry takes part in placing the substreams, worksheet or not.
    std::vector<Sheet> entries;
    std::vector<bool> isWorksheet;
    while (true) {
        if (!records.next(record)) {
            fail("the workbook globals end without their end record");
        }
        switch (record.type) {
        case record::eof:
            placeSheets(std::move(entries), isWorksheet, records.position());
            return;
        case record::filePass:
            fail(WorkbookFailure::Encrypted, "the workbook is encrypted");
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
            entries.push_back(Sheet{name.shortUnicodeString(), offset, 0});
            isWorksheet.push_back(type == worksheetType);
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

// Each sheet's substream runs from its own start to the next one's, or to the end of the
// stream. Two entries of one substream, or of one name, would let two sheets be read as one
// (and the import read one table on two threads), so either makes the workbook damaged.
void WorkbookParser::placeSheets(std::vector<Sheet> entries, const std::vector<bool>& isWorksheet,
                                 std::uint64_t globalsEnd)
{
    std::vector<std::uint64_t> starts;
    starts.reserve(entries.size());
    QSet<QString> names;
    for (const Sheet& entry : entries) {
        starts.push_back(entry.offset);
        // Sheet names are compared without regard to case, as the spreadsheet program does.
        const QString folded = entry.name.toCaseFolded();
        if (names.contains(folded)) {
            fail(WorkbookFailure::DuplicateSheet, "two sheets share a name");
        }
        names.insert(folded);
    }
    std::sort(starts.begin(), starts.end());
    if (std::adjacent_find(starts.begin(), starts.end()) != starts.end()) {
        fail("two sheet entries point at one substream");
    }
    if (!starts.empty() && starts.front() < globalsEnd) {
        fail("a sheet starts inside the workbook globals");
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!isWorksheet[i]) {
            continue;
        }
        Sheet& sheet = entries[i];
        const auto next = std::upper_bound(starts.begin(), starts.end(), sheet.offset);
        sheet.end = next == starts.end() ? m_stream->size() : *next;
        m_sheets.push_back(std::move(sheet));
    }
}

void WorkbookParser::readSharedStrings(RecordReader& records, std::vector<unsigned char> data)
{
    ContinueReader reader(records, std::move(data));
    reader.u32(); // total references, not needed
    const std::uint32_t unique = reader.u32();
    // The declared count is not trusted for memory: the table grows with the strings read.
    m_sst->reserve(std::min<std::uint32_t>(unique, 65536));
    for (std::uint32_t i = 0; i < unique; ++i) {
        if (reader.atEnd()) {
            fail("the shared string table holds fewer strings than it declares");
        }
        m_sst->push_back(reader.unicodeString());
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

// Writers pad the workbook stream with zeros after its last substream.
bool onlyZerosBetween(CfbStream& stream, std::uint64_t from, std::uint64_t to)
{
    constexpr std::uint64_t chunk = 4096;
    while (from < to) {
        const std::size_t n = static_cast<std::size_t>(std::min(chunk, to - from));
        const unsigned char* p = stream.view(from, n);
        if (std::any_of(p, p + n, [](unsigned char byte) { return byte != 0; })) {
            return false;
        }
        from += n;
    }
    return true;
}

} // namespace

WorkbookParser::Layout scanLayout(CfbStream& stream, const WorkbookParser::Sheet& sheet)
{
    constexpr int maxRows = 65536;
    constexpr int maxColumns = 256;
    WorkbookParser::Layout layout;
    const std::uint64_t end = std::min(sheet.end, stream.size());
    std::uint64_t position = sheet.offset;
    const auto header = [&](std::uint16_t& type, std::uint16_t& length) {
        if (position > end || end - position < 4) {
            fail("a worksheet ends without its end record");
        }
        const unsigned char* p = stream.view(position, 4);
        type = u16At(p);
        length = u16At(p + 2);
        if (end - position - 4 < length) {
            fail("a record runs past the end of its worksheet");
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
    if (position != end && (end != stream.size() || !onlyZerosBetween(stream, position, end))) {
        fail("a worksheet's records do not end where its substream ends");
    }
    layout.range.rows = std::max(layout.range.rows, lastRow + 1);
    layout.range.columns = std::max(layout.range.columns, lastColumn + 1);
    return layout;
}

const WorkbookParser::Layout& WorkbookParser::layout(int sheet) const
{
    std::optional<Layout>& cached = m_layouts.at(static_cast<std::size_t>(sheet));
    if (!cached) {
        cached = scanLayout(*m_stream, m_sheets.at(static_cast<std::size_t>(sheet)));
    }
    return *cached;
}

} // namespace setzaiko::xls
