// The rewritten worksheet entries that seed the fuzzers and make regression workbooks: xlrd,
// which follows each entry's offset and judges no name, must find exactly the sheets written.

#include "support/SheetEntryEdit.h"

#include "support/BiffStreamEdit.h"
#include "support/CompoundFileImage.h"
#include "workbook/xls/WorkbookFixtures.h"
#include "workbook/xls/WorkbookOracles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko::testing;

namespace {

bool sameCells(const OracleSheet& a, const OracleSheet& b)
{
    if (a.rows != b.rows || a.columns != b.columns || a.cells.size() != b.cells.size()) {
        return false;
    }
    return std::equal(
        a.cells.begin(), a.cells.end(), b.cells.begin(), [](const auto& x, const auto& y) {
            return x.first == y.first && x.second.kind == y.second.kind &&
                   x.second.number == y.second.number && x.second.text == y.second.text;
        });
}

bool storedWide(const SheetEntry& entry)
{
    return entry.wide || std::any_of(entry.name.begin(), entry.name.end(),
                                     [](QChar c) { return c.unicode() >= 0x100; });
}

} // namespace

TEST(SheetEntryEdit, XlrdFindsTheEntriesAndSubstreamsWritten)
{
    // Written by an office suite, its Workbook stream small enough for the mini stream.
    const QString base = QStringLiteral(SETZAIKO_TEST_DATA) + u"/xls/masters.xls"_s;
    const OracleWorkbook original = readWithXlrd(base);
    ASSERT_TRUE(original.readable) << original.failure.toStdString();
    ASSERT_EQ(original.sheets.size(), 2u);
    ASSERT_EQ(original.sheets[0].name, u"商品マスタ"_s);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const SheetEntryEdit& edit : sheetEntryEdits()) {
        SCOPED_TRACE(edit.name.toStdString());
        const QByteArray bytes = edit.apply(readAll(base));
        const QString path = dir.filePath(edit.name + u".xls"_s);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        const OracleWorkbook edited = readWithXlrd(path);
        ASSERT_TRUE(edited.readable) << edited.failure.toStdString();
        ASSERT_EQ(edited.sheets.size(), edit.entries.size());
        for (std::size_t i = 0; i < edit.entries.size(); ++i) {
            const SheetEntry& entry = edit.entries[i];
            const auto source = edit.substreams.at(static_cast<std::size_t>(entry.substream));
            EXPECT_EQ(edited.sheets[i].name, entry.name) << "entry " << i;
            EXPECT_TRUE(
                sameCells(edited.sheets[i], original.sheets.at(static_cast<std::size_t>(source))))
                << "entry " << i << " does not show substream " << source << " of the original";
        }

        // Names in 8-bit characters where the edit asks for it: two entries of one name stored
        // two ways must really differ in their bytes.
        std::vector<bool> wide;
        for (const BiffRecord& record :
             splitBiffRecords(CompoundFileImage(bytes).stream(u"Workbook"_s))) {
            if (record.id == biff::BoundSheet) {
                wide.push_back(record.data.at(7) == 1);
            }
        }
        std::vector<bool> expected;
        for (const SheetEntry& entry : edit.entries) {
            expected.push_back(storedWide(entry));
        }
        EXPECT_EQ(wide, expected);
    }
}
