#include "workbook/xlsx/XlsxWorkbook.h"

#include "common/WholeFile.h"
#include "workbook/xlsx/CellReference.h"
#include "workbook/xlsx/Relationships.h"
#include "workbook/xlsx/SharedStrings.h"
#include "workbook/xlsx/WorkbookPart.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/XlsxSheetCells.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::xlsx {

namespace {

const Relationship* relationshipByType(const std::vector<Relationship>& relationships,
                                       const QString& type)
{
    for (const Relationship& relationship : relationships) {
        if (relationship.type == type) {
            return &relationship;
        }
    }
    return nullptr;
}

ZipEntry partEntry(const ZipArchive& archive, const Relationship& relationship)
{
    if (relationship.external) {
        fail("a relationship points outside the package");
    }
    const auto entry = archive.find(relationship.target);
    if (!entry) {
        fail("a relationship points at a part the package lacks");
    }
    return *entry;
}

bool isOtherSheetKind(const QString& type)
{
    return type == u"chartsheet"_s || type == u"dialogsheet"_s || type == u"macrosheet"_s ||
           type == u"xlMacrosheet"_s || type == u"xlIntlMacrosheet"_s;
}

} // namespace

XlsxWorkbook::XlsxWorkbook(QByteArray bytes) : m_bytes(std::move(bytes)) {}

std::unique_ptr<XlsxWorkbook> XlsxWorkbook::open(QByteArray bytes)
{
    std::unique_ptr<XlsxWorkbook> workbook(new XlsxWorkbook(std::move(bytes)));
    workbook->readPackage();
    return workbook;
}

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(WorkbookFailure::Unreadable,
             "the file cannot be opened: " + file.errorString().toStdString());
    }
    QByteArray bytes = readWholeFile(file);
    if (file.error() != QFileDevice::NoError) {
        fail(WorkbookFailure::Unreadable,
             "the file cannot be read: " + file.errorString().toStdString());
    }
    return bytes;
}

} // namespace

std::unique_ptr<XlsxWorkbook> XlsxWorkbook::openFile(const QString& path)
{
    std::unique_ptr<XlsxWorkbook> workbook = open(fileBytes(path));
    workbook->m_path = path;
    return workbook;
}

void XlsxWorkbook::readPackage()
{
    ZipArchive archive(m_bytes);
    const std::vector<Relationship> packageRelationships = readRelationships(archive, QString());
    const Relationship* main = relationshipByType(packageRelationships, u"officeDocument"_s);
    if (!main) {
        fail(WorkbookFailure::NotAWorkbook, "the package holds no workbook");
    }
    const ZipEntry workbookEntry = partEntry(archive, *main);
    const WorkbookPart part = readWorkbookPart(archive, workbookEntry);
    m_dates1904 = part.dates1904;
    const std::vector<Relationship> relationships = readRelationships(archive, main->target);
    QHash<QString, const Relationship*> relationshipsById;
    relationshipsById.reserve(static_cast<qsizetype>(relationships.size()));
    for (const Relationship& relationship : relationships) {
        relationshipsById.insert(relationship.id, &relationship);
    }

    // Everything the workbook will ever inflate, so that entries sharing their stored bytes
    // cannot make more of a file than deflate could.
    std::uint64_t toInflate = workbookEntry.size;
    QSet<QString> names;
    // Part names as the package compares them: two sheets on one part would read its rows
    // twice, as two tables.
    QSet<QByteArray> sheetParts;
    for (const WorkbookPart::Sheet& sheet : part.sheets) {
        if (sheet.name.isEmpty()) {
            fail("a sheet has no name");
        }
        const QString folded = sheet.name.toCaseFolded();
        if (names.contains(folded)) {
            fail(WorkbookFailure::DuplicateSheet, "two sheets have the same name");
        }
        names.insert(folded);
        const Relationship* relationship = relationshipsById.value(sheet.relationshipId);
        if (!relationship) {
            fail("a sheet's relationship is missing");
        }
        if (!relationship->external) {
            const QByteArray partName = relationship->target.toUtf8().toLower();
            if (sheetParts.contains(partName)) {
                fail("two sheets are stored on one part");
            }
            sheetParts.insert(partName);
        }
        if (isOtherSheetKind(relationship->type)) {
            continue;
        }
        if (relationship->type != u"worksheet"_s) {
            fail("a sheet is of an unknown kind");
        }
        const ZipEntry entry = partEntry(archive, *relationship);
        toInflate += entry.size;
        m_sheetIndex.insert(sheet.name, static_cast<int>(m_sheets.size()));
        m_sheets.push_back({sheet.name, entry});
    }

    const Relationship* shared = relationshipByType(relationships, u"sharedStrings"_s);
    const std::optional<ZipEntry> stringsEntry =
        shared ? std::optional<ZipEntry>(partEntry(archive, *shared)) : std::nullopt;
    if (stringsEntry) {
        toInflate += stringsEntry->size;
    }
    if (toInflate > ZipArchive::inflateBound(static_cast<std::uint64_t>(m_bytes.size()))) {
        fail("the package inflates to more than its size allows");
    }
    if (!stringsEntry) {
        m_sharedStrings = sharedStringsReady({});
    } else if (m_sheets.empty()) {
        // No table will wait for the strings: read them now, so that damage in them is found.
        m_sharedStrings = sharedStringsReady(readSharedStrings(archive, *stringsEntry));
    } else {
        m_sharedStrings = readSharedStringsAhead(m_bytes, *stringsEntry);
    }
}

QStringList XlsxWorkbook::sheetNames() const
{
    QStringList names;
    for (const Sheet& sheet : m_sheets) {
        names.append(sheet.name);
    }
    return names;
}

std::unique_ptr<CellStream> XlsxWorkbook::openCells(const QString& name, int columnCount)
{
    return openSheetCells(name, columnCount, RowRelease::WholeSheet);
}

std::unique_ptr<CellStream> XlsxWorkbook::openCellsAsRead(const QString& name, int columnCount)
{
    return openSheetCells(name, columnCount, RowRelease::AsRead);
}

std::unique_ptr<CellStream> XlsxWorkbook::openSheetCells(const QString& name, int columnCount,
                                                         RowRelease release)
{
    const auto found = m_sheetIndex.constFind(name);
    if (found == m_sheetIndex.cend()) {
        fail("the workbook has no sheet of that name");
    }
    // A sheet read as it comes lets go of its part as it reads it: where the part is to be read
    // whole after all, the file is read again.
    RereadWorkbook reread;
    if (!m_path.isEmpty()) {
        reread = [path = m_path] { return fileBytes(path); };
    }
    return std::make_unique<XlsxSheetCells>(
        m_bytes, m_sheets[static_cast<std::size_t>(*found)].entry, m_sharedStrings, m_dates1904,
        columnCount, release, std::move(reread));
}

QString XlsxWorkbook::sheetName(int sheet) const
{
    return m_sheets.at(static_cast<std::size_t>(sheet)).name;
}

WorksheetCells XlsxWorkbook::readCells(int sheet) const
{
    ZipArchive archive(m_bytes);
    WorksheetCells cells = readWorksheet(
        archive, m_sheets.at(static_cast<std::size_t>(sheet)).entry, m_dates1904, maxColumns);
    checkSharedStringIndices(cells, sharedStrings().size());
    return cells;
}

WorkbookFormat workbookFormat()
{
    // A zip archive starts with a local header, or, without entries, with its end record.
    static constexpr QByteArrayView localHeader("PK\x03\x04", 4);
    static constexpr QByteArrayView endRecord("PK\x05\x06", 4);
    return {u"Excel 2007 or later workbook"_s,
            u"Excel 2007 以降の形式のブック"_s,
            {u"*.xlsx"_s, u"*.xlsm"_s},
            [](QByteArrayView start) {
                return start.startsWith(localHeader) || start.startsWith(endRecord);
            },
            [](const QString& path) -> std::unique_ptr<Workbook> {
                return XlsxWorkbook::openFile(path);
            }};
}

} // namespace setzaiko::xlsx
