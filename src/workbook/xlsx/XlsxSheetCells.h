#pragma once

#include "workbook/CellStream.h"
#include "workbook/xlsx/RecentTexts.h"
#include "workbook/xlsx/SharedStrings.h"
#include "workbook/xlsx/WorksheetCells.h"
#include "workbook/xlsx/WorksheetFeed.h"
#include "workbook/xlsx/ZipArchive.h"

#include <QByteArray>

#include <array>
#include <exception>
#include <memory>
#include <optional>

namespace setzaiko::xlsx {

// The cells of one worksheet, one per position, by row and column. The worksheet part is read
// through an archive of its own over the workbook's bytes, so that the cells may be read on
// another thread than the one that opened them, beside other sheets of the same workbook.
//
// WholeSheet: start reads the whole part. AsRead: the cells come as a feed reads the part, in
// order; where the feed cannot read it so, the part is read whole after all, as start would
// have read it, and the cells start over. Either way the sheet fails as a sheet read whole
// fails, with the same failure first. Given a way to read the workbook again, the feed lets go
// of the part's bytes as it reads them (see WorksheetFeed).
class XlsxSheetCells : public CellStream
{
public:
    XlsxSheetCells(QByteArray bytes, const ZipEntry& entry, PendingSharedStrings sharedStrings,
                   bool dates1904, int columnCount, RowRelease release, RereadWorkbook reread = {});
    ~XlsxSheetCells() override;

    SheetLayout start() override;
    bool next(StreamedCell& cell) override;
    // Keeps the shared string table, whose texts the cells point to, once start has it.
    std::shared_ptr<const void> textHolder() const override;
    SheetLayout layoutSoFar() const override;
    int restarts() const override { return m_restarts; }

private:
    void readWhole();
    void startOverWhole();
    void settle(const std::exception_ptr& failure);
    bool nextValue(SheetValue& value);
    CellValue valueOf(const SheetValue& value);
    void readAhead();

    QByteArray m_bytes;
    ZipEntry m_entry;
    PendingSharedStrings m_pendingStrings;
    SharedStringTable m_sharedStrings;
    bool m_dates1904;
    int m_columnCount;

    WorksheetCells m_cells;
    std::optional<WorksheetCells::Reader> m_reader;
    std::unique_ptr<WorksheetFeed> m_feed; // while the cells come as it reads them
    int m_restarts = 0;
    RecentTexts m_texts;
    // The values read ahead of the one handed out, each with where it starts in the packed
    // values. Cells refer to shared strings in any order, so that each would wait for its text
    // to come from memory: read ahead, a shared string is asked for while the values before it
    // are handed out. Its characters are not: a row shares the string without reading them,
    // and asking for them too cost more than it saved.
    struct Ahead
    {
        SheetValue value; // its text only while it is read: a feed reuses its memory
        CellValue cell;
        std::size_t offset = 0;
    };
    static constexpr std::size_t aheadCount = 16; // a power of two
    std::array<Ahead, aheadCount> m_ahead;
    std::size_t m_aheadFirst = 0;
    std::size_t m_aheadSize = 0;
    bool m_readToEnd = false;
    // The table alone: not the pending result, which may hold the file's bytes.
    struct HeldStrings
    {
        SharedStringTable table;
    };
    std::shared_ptr<HeldStrings> m_heldStrings;
    static constexpr int releaseEvery = 65536; // values
    int m_sinceRelease = 0;
};

} // namespace setzaiko::xlsx
