#include "workbook/xls/SheetCellReader.h"

#include "workbook/xls/ContinueReader.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/XlsError.h"

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::xls {

namespace {

constexpr int maxRows = 65536;
constexpr int maxColumns = 256;
// Position-only reading keeps this much of each record: enough for every header field.
constexpr std::size_t positionPrefix = 16;

void requireLength(const Record& record, std::size_t length)
{
    if (record.data.size() < length) {
        fail("a cell record is too short");
    }
}

// The plainest cell records are written at exactly their size by every writer; any other size means
// the records around it cannot be trusted either.
void requireExactLength(const Record& record, std::uint16_t length)
{
    if (record.length != length) {
        fail("a cell record has the wrong size");
    }
}

void checkPosition(int row, int column)
{
    if (row >= maxRows || column >= maxColumns) {
        fail("a cell lies outside the worksheet");
    }
}

} // namespace

double decodeRk(std::uint32_t rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        value = doubleAt(std::array<unsigned char, 8>{
            0, 0, 0, 0, static_cast<unsigned char>(rk & 0xFC), static_cast<unsigned char>(rk >> 8),
            static_cast<unsigned char>(rk >> 16), static_cast<unsigned char>(rk >> 24)}
                             .data());
    }
    return (rk & 0x01) ? value / 100.0 : value;
}

QString errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00:
        return u"#NULL!"_s;
    case 0x07:
        return u"#DIV/0!"_s;
    case 0x0F:
        return u"#VALUE!"_s;
    case 0x17:
        return u"#REF!"_s;
    case 0x1D:
        return u"#NAME?"_s;
    case 0x24:
        return u"#NUM!"_s;
    default:
        return u"#N/A"_s;
    }
}

SheetCellReader::SheetCellReader(CfbStream& stream, std::uint64_t bofOffset,
                                 const std::vector<QString>& sst, bool decodeValues)
    : m_records(stream, bofOffset), m_sst(sst), m_decode(decodeValues)
{
    if (!m_records.nextPrefix(m_record, positionPrefix) || m_record.type != record::bof ||
        m_record.data.size() < 4 || u16At(&m_record.data[0]) != 0x0600 ||
        u16At(&m_record.data[2]) != 0x0010) {
        fail("a worksheet does not start where the workbook says");
    }
}

QString SheetCellReader::stringAt(std::size_t offset)
{
    ContinueReader reader(
        m_records, std::vector<unsigned char>(m_record.data.begin() + offset, m_record.data.end()));
    return reader.unicodeString();
}

void SheetCellReader::decodeFormula(SheetCell& cell)
{
    const unsigned char* value = &m_record.data[6];
    cell.cell.formula = true;
    if (u16At(value + 6) != 0xFFFF) {
        cell.cell.value = CellValue::fromNumber(doubleAt(value));
        return;
    }
    switch (value[0]) {
    case 0: {
        // The text result follows in a STRING record, after any shared-formula records.
        cell.cell.value = CellValue::fromText(QString());
        std::uint16_t type = 0;
        while (m_records.peekType(type)) {
            if (type == record::shrFmla || type == record::array || type == record::table) {
                m_records.nextPrefix(m_record, 0);
                continue;
            }
            if (type == record::string) {
                m_records.next(m_record);
                cell.cell.value = CellValue::fromText(stringAt(0));
            }
            break;
        }
        return;
    }
    case 1:
        cell.cell.value = CellValue::fromText(value[2] ? u"TRUE"_s : u"FALSE"_s);
        return;
    case 2:
        cell.cell.value = CellValue::fromText(errorText(value[2]));
        return;
    default:
        cell.cell.value = CellValue::fromText(QString());
        return;
    }
}

void SheetCellReader::readExtent()
{
    requireLength(m_record, 12);
    const std::uint32_t firstRow = u32At(&m_record.data[0]);
    const std::uint32_t lastRow = u32At(&m_record.data[4]);
    const std::uint16_t firstColumn = u16At(&m_record.data[8]);
    const std::uint16_t lastColumn = u16At(&m_record.data[10]);
    if (lastRow > maxRows || lastColumn > maxColumns || firstRow > lastRow ||
        firstColumn > lastColumn) {
        fail("the worksheet's dimensions are impossible");
    }
    m_extent = DeclaredExtent{static_cast<int>(lastRow), lastColumn};
}

bool SheetCellReader::nextMultiCell(SheetCell& cell)
{
    if (m_multiNext >= m_multiEnd) {
        return false;
    }
    const int index = m_multiNext - u16At(&m_record.data[2]);
    cell.row = m_multiRow;
    cell.column = m_multiNext++;
    cell.cell = XlsCell{};
    if (m_multiRk && m_decode) {
        cell.cell.value = CellValue::fromNumber(decodeRk(u32At(&m_record.data[4 + 6 * index + 2])));
    }
    return true;
}

bool SheetCellReader::next(SheetCell& cell)
{
    if (nextMultiCell(cell)) {
        return true;
    }
    while (!m_finished) {
        const bool read =
            m_decode ? m_records.next(m_record) : m_records.nextPrefix(m_record, positionPrefix);
        if (!read) {
            fail("a worksheet ends without its end record");
        }
        const std::uint16_t type = m_record.type;
        if (type == record::bof) {
            ++m_depth;
            continue;
        }
        if (type == record::eof) {
            if (m_depth == 0) {
                m_finished = true;
                break;
            }
            --m_depth;
            continue;
        }
        if (m_depth > 0) {
            continue;
        }
        switch (type) {
        case record::dimensions:
            readExtent();
            continue;
        case record::mulRk:
        case record::mulBlank: {
            requireLength(m_record, 6);
            const int width = type == record::mulRk ? 6 : 2;
            if ((m_record.length - 6) % width != 0) {
                fail("a multiple-cell record has the wrong size");
            }
            const int count = (m_record.length - 6) / width;
            m_multiRow = u16At(&m_record.data[0]);
            m_multiNext = u16At(&m_record.data[2]);
            m_multiEnd = m_multiNext + count;
            m_multiRk = type == record::mulRk;
            if (count > 0) {
                checkPosition(m_multiRow, m_multiEnd - 1);
            }
            if (nextMultiCell(cell)) {
                return true;
            }
            continue;
        }
        case record::number:
        case record::rk:
        case record::labelSst:
        case record::label:
        case record::rString:
        case record::boolErr:
        case record::blank:
        case record::formula:
            break;
        default:
            continue;
        }

        switch (type) {
        case record::number:
            requireExactLength(m_record, 14);
            break;
        case record::rk:
        case record::labelSst:
            requireExactLength(m_record, 10);
            break;
        case record::boolErr: // one office suite writes it a byte longer
            requireLength(m_record, 8);
            break;
        case record::blank:
            requireExactLength(m_record, 6);
            break;
        default: // FORMULA, LABEL and RSTRING vary in size
            requireLength(m_record, 6);
            break;
        }
        cell.row = u16At(&m_record.data[0]);
        cell.column = u16At(&m_record.data[2]);
        checkPosition(cell.row, cell.column);
        cell.cell = XlsCell{};
        if (!m_decode) {
            return true;
        }
        switch (type) {
        case record::number:
            requireLength(m_record, 14);
            cell.cell.value = CellValue::fromNumber(doubleAt(&m_record.data[6]));
            break;
        case record::rk:
            requireLength(m_record, 10);
            cell.cell.value = CellValue::fromNumber(decodeRk(u32At(&m_record.data[6])));
            break;
        case record::labelSst: {
            requireLength(m_record, 10);
            const std::uint32_t index = u32At(&m_record.data[6]);
            if (index >= m_sst.size()) {
                fail("a cell refers to a shared string that does not exist");
            }
            cell.cell.value = m_pointIntoSst ? CellValue::fromKeptText(m_sst[index])
                                             : CellValue::fromText(m_sst[index]);
            break;
        }
        case record::label:
        case record::rString:
            cell.cell.value = CellValue::fromText(stringAt(6));
            break;
        case record::boolErr:
            requireLength(m_record, 8);
            cell.cell.value =
                CellValue::fromText(m_record.data[7] ? errorText(m_record.data[6])
                                                     : (m_record.data[6] ? u"TRUE"_s : u"FALSE"_s));
            break;
        case record::formula:
            requireLength(m_record, 20);
            decodeFormula(cell);
            break;
        default: // BLANK: a formatted cell without a value
            break;
        }
        return true;
    }
    return false;
}

} // namespace setzaiko::xls
