#include "support/WorkbookDamage.h"

#include "support/BiffStreamEdit.h"
#include "support/CompoundFileImage.h"

#include <QtEndian>

#include <algorithm>
#include <set>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

namespace {

const QString WorkbookStream = u"Workbook"_s;

using Records = std::vector<BiffRecord>;

std::vector<std::uint32_t> workbookChain(const CompoundFileImage& image)
{
    const auto chain = image.chain(image.entry(WorkbookStream).start);
    if (chain.size() < 4) {
        throw ImageError("workbook stream too short for this damage");
    }
    return chain;
}

// A damage to the container, made in place.
WorkbookDamage container(const QString& name, bool mustFail,
                         std::function<void(CompoundFileImage&)> damage)
{
    return {name, mustFail, [damage](const QByteArray& file) {
                CompoundFileImage image(file);
                damage(image);
                return image.bytes();
            }};
}

// A damage to the records that keeps every record's size, so the container stays as it was.
WorkbookDamage inPlace(const QString& name, bool mustFail, std::function<void(Records&)> damage)
{
    return {name, mustFail, [damage](const QByteArray& file) {
                CompoundFileImage image(file);
                const QByteArray stream = image.stream(WorkbookStream);
                Records records = splitBiffRecords(stream);
                damage(records);
                const QByteArray changed = joinBiffRecords(records);
                if (changed.size() > stream.size()) {
                    throw ImageError("damage changed the stream size");
                }
                image.overwriteStream(WorkbookStream, changed);
                return image.bytes();
            }};
}

// A damage to the raw bytes of the workbook stream, keeping its size.
WorkbookDamage inStream(const QString& name, bool mustFail, std::function<void(QByteArray&)> damage)
{
    return {name, mustFail, [damage](const QByteArray& file) {
                CompoundFileImage image(file);
                QByteArray stream = image.stream(WorkbookStream);
                damage(stream);
                image.overwriteStream(WorkbookStream, stream);
                return image.bytes();
            }};
}

// A damage that adds or removes records; the workbook is written into a new container.
WorkbookDamage rewritten(const QString& name, bool mustFail, std::function<void(Records&)> damage,
                         const QString& streamName = WorkbookStream)
{
    return {name, mustFail, [damage, streamName](const QByteArray& file) {
                return rewriteWorkbookStream(file, damage, streamName);
            }};
}

BiffRecord& first(Records& records, std::uint16_t id, int from = 0)
{
    const int at = findRecord(records, id, from);
    if (at < 0) {
        throw ImageError("record not present");
    }
    return records[static_cast<std::size_t>(at)];
}

void put16(QByteArray& data, int offset, std::uint16_t value)
{
    if (offset + 2 > data.size()) {
        throw ImageError("record too short");
    }
    qToLittleEndian<quint16>(value, data.data() + offset);
}

void put32(QByteArray& data, int offset, std::uint32_t value)
{
    if (offset + 4 > data.size()) {
        throw ImageError("record too short");
    }
    qToLittleEndian<quint32>(value, data.data() + offset);
}

int firstSheetBof(const Records& records)
{
    const int globalsEof = findRecord(records, biff::Eof);
    const int bof = findRecord(records, biff::Bof, globalsEof + 1);
    if (globalsEof < 0 || bof < 0) {
        throw ImageError("no worksheet");
    }
    return bof;
}

// The BOUNDSHEET records in workbook order.
std::vector<BiffRecord*> sheetEntries(Records& records, std::size_t atLeast)
{
    std::vector<BiffRecord*> entries;
    for (BiffRecord& record : records) {
        if (record.id == biff::BoundSheet) {
            entries.push_back(&record);
        }
    }
    if (entries.size() < atLeast) {
        throw ImageError("too few sheets");
    }
    return entries;
}

// A sheet entry's name field: length, a flag for two-byte characters, the characters.
QByteArray entryName(const QString& name)
{
    QByteArray field;
    field.append(static_cast<char>(name.size()));
    field.append('\x01');
    for (const QChar c : name) {
        field.append(static_cast<char>(c.unicode() & 0xFF));
        field.append(static_cast<char>(c.unicode() >> 8));
    }
    return field;
}

QString nameOfEntry(const BiffRecord& entry)
{
    const int length = static_cast<unsigned char>(entry.data.at(6));
    const bool wide = entry.data.at(7) & 1;
    QString name;
    for (int i = 0; i < length; ++i) {
        name += wide ? QChar(qFromLittleEndian<quint16>(entry.data.constData() + 8 + 2 * i))
                     : QChar(char16_t(static_cast<unsigned char>(entry.data.at(8 + i))));
    }
    return name;
}

void renameEntry(BiffRecord& entry, const QString& name)
{
    entry.data = entry.data.left(6) + entryName(name);
}

// Adds a sheet entry that shares the substream of the entry at index target; the other
// entries keep pointing at their own substreams.
QByteArray withEntrySharingSubstream(const QByteArray& file, std::size_t target,
                                     const std::function<QString(const QString&)>& nameFor)
{
    CompoundFileImage image(file);
    Records records = splitBiffRecords(image.stream(WorkbookStream));
    const std::vector<BiffRecord*> entries = sheetEntries(records, target + 1);
    BiffRecord extra = *entries[target];
    renameEntry(extra, nameFor(nameOfEntry(*entries[target])));
    std::size_t last = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].id == biff::BoundSheet) {
            last = i;
        }
    }
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(last) + 1, extra);
    fixSheetOffsets(records); // every entry in order, the added one last and left without
    const std::vector<BiffRecord*> placed = sheetEntries(records, 1);
    placed.back()->data.replace(0, 4, placed[target]->data.left(4));
    return buildCompoundFile(WorkbookStream, joinBiffRecords(records));
}

// Makes a record's length field claim extra bytes more, its data unchanged, so that every
// record after it is read shifted.
WorkbookDamage lengthLonger(const QString& name, std::uint16_t id, int extra)
{
    return inStream(name, true, [id, extra](QByteArray& stream) {
        const Records records = splitBiffRecords(stream);
        const int at = findRecord(records, id, firstSheetBof(records));
        if (at < 0) {
            throw ImageError("record not present");
        }
        qsizetype pos = 0;
        for (int i = 0; i < at; ++i) {
            pos += 4 + records[static_cast<std::size_t>(i)].data.size();
        }
        put16(
            stream, static_cast<int>(pos) + 2,
            static_cast<std::uint16_t>(records[static_cast<std::size_t>(at)].data.size() + extra));
    });
}

QByteArray filePass(bool rc4)
{
    QByteArray data(rc4 ? 54 : 6, '\x5A');
    put16(data, 0, rc4 ? 1 : 0);
    if (rc4) {
        put16(data, 2, 1);
        put16(data, 4, 1);
    }
    return data;
}

} // namespace

std::vector<WorkbookDamage> workbookDamages()
{
    std::vector<WorkbookDamage> damages;

    // The allocation table and its chains.
    damages.push_back(container(u"fat-cycle-mid-stream"_s, true, [](CompoundFileImage& image) {
        const auto chain = workbookChain(image);
        image.setFatEntry(chain[chain.size() / 2], chain.front());
    }));
    damages.push_back(container(u"fat-cycle-at-stream-end"_s, false, [](CompoundFileImage& image) {
        const auto chain = workbookChain(image);
        image.setFatEntry(chain.back(), chain.front());
    }));
    damages.push_back(container(u"fat-self-loop"_s, true, [](CompoundFileImage& image) {
        const auto chain = workbookChain(image);
        image.setFatEntry(chain.front(), chain.front());
    }));
    damages.push_back(container(u"fat-entry-out-of-range"_s, true, [](CompoundFileImage& image) {
        image.setFatEntry(workbookChain(image)[1], 0x00FFFF00u);
    }));
    damages.push_back(container(u"fat-entry-beyond-file"_s, true, [](CompoundFileImage& image) {
        image.setFatEntry(workbookChain(image)[1], image.sectorCount() + 3);
    }));
    damages.push_back(container(u"fat-entry-free-in-chain"_s, true, [](CompoundFileImage& image) {
        image.setFatEntry(workbookChain(image)[1], FreeSector);
    }));
    damages.push_back(container(u"fat-chain-ends-early"_s, true, [](CompoundFileImage& image) {
        image.setFatEntry(workbookChain(image)[1], EndOfChain);
    }));
    damages.push_back(
        container(u"fat-chain-through-fat-sector"_s, true, [](CompoundFileImage& image) {
            image.setFatEntry(workbookChain(image)[1], image.fatSectors().front());
        }));
    damages.push_back(container(u"fat-sector-out-of-range"_s, true, [](CompoundFileImage& image) {
        image.setHeader32(header::Difat, 0x00ABCDEFu);
    }));
    damages.push_back(container(u"fat-sector-free"_s, true, [](CompoundFileImage& image) {
        image.setHeader32(header::Difat, FreeSector);
    }));
    damages.push_back(container(u"fat-sector-count-huge"_s, false, [](CompoundFileImage& image) {
        image.setHeader32(header::FatSectorCount, 0x7FFFFFFFu);
    }));

    // The DIFAT: an appended sector whose chain pointer leads back to itself.
    auto difatLoop = [](std::uint32_t fatCount, std::uint32_t difatCount) {
        return [fatCount, difatCount](CompoundFileImage& image) {
            const int perSector = image.sectorSize() / 4;
            QByteArray content(image.sectorSize(), '\xFF');
            const std::uint32_t sector = image.sectorCount();
            qToLittleEndian<quint32>(sector, content.data() + 4 * (perSector - 1));
            image.appendSector(content);
            image.setHeader32(header::DifatStart, sector);
            image.setHeader32(header::DifatSectorCount, difatCount);
            image.setHeader32(header::FatSectorCount, fatCount);
        };
    };
    damages.push_back(container(u"difat-loop"_s, true, difatLoop(300, 3)));
    damages.push_back(
        container(u"difat-loop-huge-counts"_s, false, difatLoop(0x7FFFFFFFu, 0x7FFFFFFFu)));
    damages.push_back(container(u"difat-start-out-of-range"_s, true, [](CompoundFileImage& image) {
        image.setHeader32(header::DifatStart, 0x00FFFFF0u);
        image.setHeader32(header::DifatSectorCount, 1);
        image.setHeader32(header::FatSectorCount, 200);
    }));

    // The directory.
    damages.push_back(container(u"directory-chain-cycle"_s, false, [](CompoundFileImage& image) {
        const auto chain = image.chain(image.header32(header::DirectoryStart));
        image.setFatEntry(chain.back(), chain.front());
    }));
    damages.push_back(
        container(u"directory-start-out-of-range"_s, true, [](CompoundFileImage& image) {
            image.setHeader32(header::DirectoryStart, 0x0FFFFFFFu);
        }));
    damages.push_back(
        container(u"directory-start-end-of-chain"_s, true, [](CompoundFileImage& image) {
            image.setHeader32(header::DirectoryStart, EndOfChain);
        }));
    damages.push_back(container(u"stream-start-out-of-range"_s, true, [](CompoundFileImage& image) {
        image.setEntry32(WorkbookStream, entry::StartSector, 0x7FFFFF00u);
    }));
    damages.push_back(
        container(u"stream-start-special-value"_s, true, [](CompoundFileImage& image) {
            image.setEntry32(WorkbookStream, entry::StartSector, FatSector);
        }));
    damages.push_back(container(u"stream-size-huge"_s, true, [](CompoundFileImage& image) {
        image.setEntry32(WorkbookStream, entry::StreamSize, 0xFFFFFFFFu);
    }));
    damages.push_back(container(u"stream-size-2gb"_s, true, [](CompoundFileImage& image) {
        image.setEntry32(WorkbookStream, entry::StreamSize, 0x7FFFFFFFu);
    }));
    damages.push_back(container(u"stream-size-beyond-chain"_s, false, [](CompoundFileImage& image) {
        const auto e = image.entry(WorkbookStream);
        image.setEntry32(WorkbookStream, entry::StreamSize,
                         static_cast<std::uint32_t>(e.size) + 10u * image.sectorSize());
    }));
    damages.push_back(container(u"stream-size-tiny"_s, true, [](CompoundFileImage& image) {
        image.setEntry32(WorkbookStream, entry::StreamSize, 20);
    }));
    damages.push_back(container(u"no-workbook-stream"_s, true, [](CompoundFileImage& image) {
        const auto at = image.entryOffset(image.entry(WorkbookStream).index, 2);
        QByteArray bytes = image.bytes();
        bytes[at] = 'x'; // "Wxrkbook"
        image = CompoundFileImage(bytes);
    }));
    damages.push_back(container(u"root-child-out-of-range"_s, false, [](CompoundFileImage& image) {
        QByteArray bytes = image.bytes();
        qToLittleEndian<quint32>(0x00FFFFFFu, bytes.data() + image.entryOffset(0, entry::Child));
        image = CompoundFileImage(bytes);
    }));
    damages.push_back(container(u"sibling-self-loop"_s, false, [](CompoundFileImage& image) {
        const auto e = image.entry(WorkbookStream);
        image.setEntry32(WorkbookStream, entry::LeftSibling, static_cast<std::uint32_t>(e.index));
        image.setEntry32(WorkbookStream, entry::RightSibling, static_cast<std::uint32_t>(e.index));
    }));

    // The header.
    damages.push_back(container(u"sector-shift-huge"_s, true, [](CompoundFileImage& image) {
        image.setHeader16(header::SectorShift, 20);
    }));
    damages.push_back(container(u"sector-shift-zero"_s, true, [](CompoundFileImage& image) {
        image.setHeader16(header::SectorShift, 0);
    }));
    damages.push_back({u"signature-broken"_s, true, [](const QByteArray& file) {
                           QByteArray bytes = file;
                           bytes[7] = '\0';
                           return bytes;
                       }});

    // Encryption, formats that are not BIFF8.
    damages.push_back(rewritten(u"filepass-rc4"_s, true, [](Records& records) {
        records.insert(records.begin() + 1, BiffRecord{biff::FilePass, filePass(true)});
    }));
    damages.push_back(rewritten(u"filepass-xor"_s, true, [](Records& records) {
        records.insert(records.begin() + 1, BiffRecord{biff::FilePass, filePass(false)});
    }));
    damages.push_back(inPlace(u"bof-biff5-version"_s, true, [](Records& records) {
        for (BiffRecord& record : records) {
            if (record.id == biff::Bof) {
                put16(record.data, 0, 0x0500);
            }
        }
    }));
    damages.push_back(rewritten(
        u"biff8-in-book-stream"_s, false, [](Records&) {}, u"Book"_s));

    // The globals substream.
    damages.push_back(inPlace(u"first-record-not-bof"_s, true,
                              [](Records& records) { records.front().id = 0x0001; }));
    damages.push_back(inPlace(u"globals-bof-of-a-worksheet"_s, true,
                              [](Records& records) { put16(records.front().data, 2, 0x0010); }));
    damages.push_back(inPlace(u"sheet-offset-beyond-stream"_s, true, [](Records& records) {
        put32(first(records, biff::BoundSheet).data, 0, 0x7FFFFFF0u);
    }));
    damages.push_back(inPlace(u"sheet-offset-mid-record"_s, true, [](Records& records) {
        BiffRecord& sheet = first(records, biff::BoundSheet);
        put32(sheet.data, 0, qFromLittleEndian<quint32>(sheet.data.constData()) + 2);
    }));
    damages.push_back(inPlace(u"sheet-offset-at-globals"_s, true, [](Records& records) {
        put32(first(records, biff::BoundSheet).data, 0, 0);
    }));
    damages.push_back(inPlace(u"sheet-name-length-huge"_s, true, [](Records& records) {
        BiffRecord& sheet = first(records, biff::BoundSheet);
        sheet.data[6] = '\xFF';
    }));
    damages.push_back(rewritten(u"globals-eof-missing"_s, false, [](Records& records) {
        records.erase(records.begin() + findRecord(records, biff::Eof));
    }));
    damages.push_back(rewritten(u"oversized-record"_s, false, [](Records& records) {
        records.insert(records.begin() + 1, BiffRecord{biff::WriteAccess, QByteArray(9000, ' ')});
    }));

    // The shared string table.
    damages.push_back(inPlace(u"sst-count-larger-than-data"_s, true, [](Records& records) {
        BiffRecord& sst = first(records, biff::Sst);
        put32(sst.data, 4, qFromLittleEndian<quint32>(sst.data.constData() + 4) + 1000);
    }));
    damages.push_back(inPlace(u"sst-count-huge"_s, true, [](Records& records) {
        BiffRecord& sst = first(records, biff::Sst);
        put32(sst.data, 0, 0x7FFFFFFFu);
        put32(sst.data, 4, 0x7FFFFFFFu);
    }));
    damages.push_back(inPlace(u"sst-first-string-length-huge"_s, true, [](Records& records) {
        put16(first(records, biff::Sst).data, 8, 0x7FFF);
    }));
    damages.push_back(rewritten(u"sst-continue-missing"_s, true, [](Records& records) {
        const int sst = findRecord(records, biff::Sst);
        if (sst < 0 || records[static_cast<std::size_t>(sst) + 1].id != biff::Continue) {
            throw ImageError("no continued string table");
        }
        records.erase(records.begin() + sst + 1);
    }));
    damages.push_back(rewritten(u"sst-truncated-record"_s, true, [](Records& records) {
        BiffRecord& sst = first(records, biff::Sst);
        if (sst.data.size() < 40) {
            throw ImageError("string table too small");
        }
        sst.data.chop(sst.data.size() / 2);
    }));

    // Cell records of the first worksheet.
    damages.push_back(inPlace(u"labelsst-index-out-of-range"_s, true, [](Records& records) {
        put32(first(records, biff::LabelSst, firstSheetBof(records)).data, 6, 0x00FFFFFFu);
    }));
    damages.push_back(rewritten(u"labelsst-record-short"_s, true, [](Records& records) {
        first(records, biff::LabelSst, firstSheetBof(records)).data.truncate(6);
    }));
    damages.push_back(rewritten(u"number-record-short"_s, true, [](Records& records) {
        first(records, biff::Number, firstSheetBof(records)).data.truncate(10);
    }));
    damages.push_back(rewritten(u"mulrk-length-odd"_s, true, [](Records& records) {
        first(records, 0x00BD, firstSheetBof(records)).data.chop(3);
    }));
    damages.push_back(rewritten(u"rk-record-short"_s, true, [](Records& records) {
        first(records, 0x027E, firstSheetBof(records)).data.truncate(7);
    }));
    damages.push_back(inStream(u"cell-record-length-off-by-one"_s, true, [](QByteArray& stream) {
        // The size field claims one byte more, so every later record is misread.
        const Records records = splitBiffRecords(stream);
        const int at = findRecord(records, biff::LabelSst, firstSheetBof(records));
        if (at < 0) {
            throw ImageError("record not present");
        }
        qsizetype pos = 0;
        for (int i = 0; i < at; ++i) {
            pos += 4 + records[static_cast<std::size_t>(i)].data.size();
        }
        put16(stream, static_cast<int>(pos) + 2,
              static_cast<std::uint16_t>(records[static_cast<std::size_t>(at)].data.size() + 1));
    }));
    damages.push_back(inPlace(u"mulblank-columns-reversed"_s, false, [](Records& records) {
        BiffRecord& blank = first(records, 0x00BE, firstSheetBof(records));
        put16(blank.data, blank.data.size() - 2, 0);
    }));
    damages.push_back(inPlace(u"dimensions-huge"_s, false, [](Records& records) {
        BiffRecord& dimensions = first(records, biff::Dimensions, firstSheetBof(records));
        put32(dimensions.data, 4, 0x7FFFFFFFu);
        put16(dimensions.data, 10, 0xFFFF);
    }));
    damages.push_back(rewritten(u"sheet-eof-missing"_s, false, [](Records& records) {
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            if (it->id == biff::Eof) {
                records.erase(std::next(it).base());
                return;
            }
        }
    }));
    damages.push_back(rewritten(u"sheet-cut-after-bof"_s, true, [](Records& records) {
        records.resize(static_cast<std::size_t>(firstSheetBof(records)) + 1);
    }));
    // Sheet entries: names shared, substreams shared.
    damages.push_back(rewritten(u"sheet-name-repeated"_s, true, [](Records& records) {
        const auto entries = sheetEntries(records, 2);
        renameEntry(*entries[1], nameOfEntry(*entries[0]));
    }));
    damages.push_back(rewritten(u"sheet-name-repeated-in-other-case"_s, true, [](Records& records) {
        const auto entries = sheetEntries(records, 2);
        renameEntry(*entries[0], u"Masters"_s);
        renameEntry(*entries[1], u"MASTERS"_s);
    }));
    damages.push_back({u"sheet-entry-repeated"_s, true, [](const QByteArray& file) {
                           return withEntrySharingSubstream(
                               file, 0, [](const QString& name) { return name; });
                       }});
    damages.push_back({u"sheet-entry-sharing-a-substream"_s, true, [](const QByteArray& file) {
                           return withEntrySharingSubstream(
                               file, 1, [](const QString&) { return u"extra"_s; });
                       }});

    // A length field that claims more than the record holds.
    damages.push_back(lengthLonger(u"row-record-length-longer"_s, 0x0208, 2));
    damages.push_back(lengthLonger(u"string-record-length-longer"_s, 0x0207, 2));
    // Sixteen zero bytes (a record of id 0 and twelve bytes) between a worksheet's end and the
    // next sheet's start: the worksheet's substream does not end where its records end.
    damages.push_back(rewritten(u"zero-bytes-after-a-worksheet"_s, true, [](Records& records) {
        const int eof = findRecord(records, biff::Eof, firstSheetBof(records));
        if (eof < 0 || findRecord(records, biff::Bof, eof) < 0) {
            throw ImageError("no sheet after the first worksheet");
        }
        records.insert(records.begin() + eof + 1, BiffRecord{0, QByteArray(12, '\0')});
    }));
    return damages;
}

std::vector<qsizetype> truncationOffsets(qsizetype size, int count, qsizetype boundaryLimit)
{
    std::set<qsizetype> offsets;
    for (int i = 0; i < count; ++i) {
        offsets.insert(size * i / count);
    }
    for (qsizetype boundary = 0; boundary <= std::min(boundaryLimit, size); boundary += 512) {
        for (qsizetype delta : {-1, 0, 1}) {
            offsets.insert(boundary + delta);
        }
    }
    offsets.insert(size - 1);
    std::vector<qsizetype> result;
    for (qsizetype offset : offsets) {
        if (offset >= 0 && offset < size) {
            result.push_back(offset);
        }
    }
    return result;
}

} // namespace setzaiko::testing
