#include "support/SheetEntryEdit.h"

#include "support/BiffStreamEdit.h"
#include "support/CompoundFileImage.h"

#include <QtEndian>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

namespace {

using Records = std::vector<BiffRecord>;

constexpr int MiniSectorSize = 64;
constexpr std::uint64_t MiniStreamCutoff = 4096;

QByteArray sectorsOf(const CompoundFileImage& image, std::uint32_t start)
{
    QByteArray data;
    for (const std::uint32_t sector : image.chain(start)) {
        data.append(image.bytes().mid(image.sectorOffset(sector), image.sectorSize()));
    }
    return data;
}

// The Workbook stream, also when it is small enough to live in the mini stream (as office
// suites store small workbooks).
QByteArray workbookStream(const CompoundFileImage& image)
{
    const CompoundFileImage::DirectoryEntry workbook = image.entry(u"Workbook"_s);
    if (workbook.size >= MiniStreamCutoff) {
        return image.stream(u"Workbook"_s);
    }
    const QByteArray container = sectorsOf(image, image.directory().front().start);
    const QByteArray miniFat = sectorsOf(image, image.header32(header::MiniFatStart));
    QByteArray data;
    std::uint32_t sector = workbook.start;
    for (std::uint64_t i = 0; static_cast<std::uint64_t>(data.size()) < workbook.size; ++i) {
        const qsizetype at = qsizetype{sector} * MiniSectorSize;
        if (i * MiniSectorSize >= MiniStreamCutoff || at + MiniSectorSize > container.size() ||
            4 * (qsizetype{sector} + 1) > miniFat.size()) {
            throw ImageError("broken mini stream chain");
        }
        data.append(container.mid(at, MiniSectorSize));
        sector = qFromLittleEndian<quint32>(miniFat.constData() + 4 * sector);
    }
    data.truncate(static_cast<qsizetype>(workbook.size));
    return data;
}

// The worksheet substreams after the globals, each from its BOF to its EOF (substreams nested
// in a worksheet, such as embedded charts, stay inside it).
std::vector<Records> substreamsOf(const Records& records, std::size_t from)
{
    std::vector<Records> substreams;
    int depth = 0;
    for (std::size_t i = from; i < records.size(); ++i) {
        if (depth == 0) {
            if (records[i].id != biff::Bof) {
                continue; // padding between substreams
            }
            substreams.emplace_back();
        }
        substreams.back().push_back(records[i]);
        if (records[i].id == biff::Bof) {
            ++depth;
        } else if (records[i].id == biff::Eof) {
            --depth;
        }
    }
    return substreams;
}

QByteArray boundSheet(const SheetEntry& entry, std::uint16_t options)
{
    bool narrow = !entry.wide;
    for (const QChar c : entry.name) {
        narrow = narrow && c.unicode() < 0x100;
    }
    QByteArray data(6, '\0');
    qToLittleEndian<quint16>(options, data.data() + 4);
    data.append(static_cast<char>(entry.name.size()));
    data.append(narrow ? '\0' : '\1');
    for (const QChar c : entry.name) {
        data.append(static_cast<char>(c.unicode() & 0xFF));
        if (!narrow) {
            data.append(static_cast<char>(c.unicode() >> 8));
        }
    }
    return data;
}

} // namespace

QByteArray SheetEntryEdit::apply(const QByteArray& file) const
{
    const CompoundFileImage image(file);
    const Records records = splitBiffRecords(workbookStream(image));
    const int globalsEof = findRecord(records, biff::Eof);
    const int firstEntry = findRecord(records, biff::BoundSheet);
    if (globalsEof < 0 || firstEntry < 0 || firstEntry > globalsEof ||
        records[static_cast<std::size_t>(firstEntry)].data.size() < 8) {
        throw ImageError("no worksheet entries");
    }
    const std::vector<Records> originals =
        substreamsOf(records, static_cast<std::size_t>(globalsEof) + 1);
    for (const int index : substreams) {
        if (index < 0 || static_cast<std::size_t>(index) >= originals.size()) {
            throw ImageError("the workbook has too few worksheets for this edit");
        }
    }
    // Sheet options (visibility, sheet type) stay those of the first entry: every substream
    // written is a worksheet.
    const std::uint16_t options = qFromLittleEndian<quint16>(
        records[static_cast<std::size_t>(firstEntry)].data.constData() + 4);

    Records edited;
    std::vector<std::size_t> entryAt;
    for (int i = 0; i <= globalsEof; ++i) {
        const BiffRecord& record = records[static_cast<std::size_t>(i)];
        if (i == firstEntry) {
            for (const SheetEntry& entry : entries) {
                entryAt.push_back(edited.size());
                edited.push_back({biff::BoundSheet, boundSheet(entry, options)});
            }
        }
        if (record.id != biff::BoundSheet) {
            edited.push_back(record);
        }
    }
    std::vector<std::uint32_t> bofOffsets;
    std::uint32_t pos = static_cast<std::uint32_t>(joinBiffRecords(edited).size());
    for (const int index : substreams) {
        bofOffsets.push_back(pos);
        for (const BiffRecord& record : originals[static_cast<std::size_t>(index)]) {
            edited.push_back(record);
            pos += 4 + static_cast<std::uint32_t>(record.data.size());
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto substream = static_cast<std::size_t>(entries[i].substream);
        if (substream >= bofOffsets.size()) {
            throw ImageError("an entry names a substream that is not written");
        }
        qToLittleEndian<quint32>(bofOffsets[substream], edited[entryAt[i]].data.data());
    }
    return buildCompoundFile(u"Workbook"_s, joinBiffRecords(edited));
}

std::vector<SheetEntryEdit> sheetEntryEdits()
{
    const QString product = u"商品マスタ"_s;
    const QString stock = u"在庫マスタ"_s;
    // Substream 0 of the original is a product sheet, 1 a stock sheet.
    return {
        {u"duplicate-product-sheet"_s, true, {0, 0, 1}, {{product, 0}, {product, 1}, {stock, 2}}},
        {u"duplicate-stock-sheet"_s, true, {1, 1}, {{stock, 0}, {stock, 1}}},
        {u"third-sheet-named-product"_s, true, {0, 1, 0}, {{product, 0}, {stock, 1}, {product, 2}}},
        {u"sheet-entry-repeated"_s, true, {0, 1}, {{product, 0}, {product, 0}, {stock, 1}}},
        {u"product-entry-on-stock-substream"_s,
         true,
         {0, 1},
         {{product, 0}, {stock, 1}, {product, 1}}},
        {u"two-names-one-substream"_s, true, {0, 1}, {{product, 0}, {stock, 0}, {u"メモ"_s, 1}}},
        {u"names-differ-in-case"_s,
         true,
         {0, 1, 0, 1},
         {{product, 0}, {stock, 1}, {u"Sheet1"_s, 2}, {u"SHEET1"_s, 3}}},
        {u"names-differ-in-case-and-storage"_s,
         true,
         {0, 1, 0, 1},
         {{product, 0}, {stock, 1}, {u"Sheet1"_s, 2}, {u"sHEET1"_s, 3, true}}},
        {u"same-name-stored-two-ways"_s,
         true,
         {0, 1, 0, 1},
         {{product, 0}, {stock, 1}, {u"Sheet1"_s, 2}, {u"Sheet1"_s, 3, true}}},
        {u"master-sheets-swapped"_s, false, {1, 0}, {{stock, 0}, {product, 1}}},
    };
}

} // namespace setzaiko::testing
