// Damaged, truncated, encrypted and foreign files: the reader refuses them with WorkbookError
// (or, where a damage leaves the data intact, reads exactly the undamaged workbook), never
// crashes, hangs or allocates without bound; the import run ends in its unexpected-error
// outcome.

#include "import/ImportRun.h"
#include "support/BiffStreamEdit.h"
#include "support/CompoundFileImage.h"
#include "support/WorkbookDamage.h"
#include "support/WorkbookSnapshot.h"
#include "workbook/WorkbookFileOpener.h"
#include "workbook/xls/WorkbookFixtures.h"
#include "workbook/xls/WorkbookOracles.h"
#include "workbook/xls/XlsWorkbook.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

namespace {

// A reader that needs more than this for any of these small files allocates without bound.
constexpr long MemoryCeilingMegabytes = 768;
constexpr int Deadline = 60;

struct Reading
{
    std::optional<WorkbookSnapshot> snapshot; // empty when refused
    QString refusal;
};

// Reads the bytes through the reader; anything but WorkbookError is a test failure.
Reading readBytes(const QByteArray& bytes, const QString& what)
{
    Reading reading;
    finishWithin(Deadline, what, [&reading, &bytes] {
        try {
            reading.snapshot = readSnapshot(bytes);
        } catch (const WorkbookError& error) {
            reading.refusal = QString::fromStdString(error.what());
            if (reading.refusal.isEmpty()) {
                reading.refusal = u"(no reason given)"_s;
            }
        } catch (const std::exception& error) {
            ADD_FAILURE() << "threw " << typeid(error).name() << " (" << error.what()
                          << ") instead of WorkbookError";
            reading.refusal = u"wrong exception"_s;
        }
    });
    return reading;
}

QString writeTemporary(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(u"damaged.xls"_s);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

void expectImportFails(const QString& path, const QString& what)
{
    SCOPED_TRACE(what.toStdString());
    WorkbookFileOpener opener;
    ImportResult result;
    finishWithin(Deadline, u"import of "_s + what, [&] { result = runImport(path, opener); });
    EXPECT_EQ(result.outcome, ImportResult::Outcome::Failed);
    EXPECT_EQ(result.status, ImportStatus::Failed);
}

void expectImportFails(const QByteArray& bytes, const QString& what)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    expectImportFails(writeTemporary(dir, bytes), what);
}

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The workbooks the damages are applied to: every generated one, and committed ones small
// enough to be read once for every damage.
struct Base
{
    QString name;
    QByteArray bytes;
    WorkbookSnapshot snapshot;
};

const std::vector<Base>& bases()
{
    static const std::vector<Base> all = [] {
        std::vector<Base> list;
        for (const QString& path : generatedWorkbooks() + committedWorkbooks()) {
            const QByteArray bytes = readAll(path);
            if (bytes.size() > 512 * 1024 && !generatedWorkbooks().contains(path)) {
                continue;
            }
            try {
                list.push_back({nameOf(path), bytes, readSnapshot(bytes)});
            } catch (const WorkbookError&) {
                // An encrypted fixture: nothing to damage.
            }
        }
        return list;
    }();
    return all;
}

class XlsDamage : public ::testing::TestWithParam<WorkbookDamage>
{};

TEST_P(XlsDamage, IsRefusedOrReadsAsTheUndamagedWorkbook)
{
    const WorkbookDamage& damage = GetParam();
    ASSERT_FALSE(bases().empty());
    int applied = 0;
    std::optional<QByteArray> refusedExample;
    for (const Base& base : bases()) {
        const QString what = damage.name + u" on "_s + base.name;
        SCOPED_TRACE(what.toStdString());
        QByteArray damaged;
        try {
            damaged = damage.apply(base.bytes);
        } catch (const ImageError&) {
            continue; // the workbook lacks what this damage needs
        }
        ++applied;
        const Reading reading = readBytes(damaged, what);
        if (reading.snapshot) {
            EXPECT_FALSE(damage.mustFail) << "read without complaint";
            EXPECT_TRUE(*reading.snapshot == base.snapshot) << "read, but not as the original";
        } else if (!refusedExample) {
            refusedExample = damaged;
        }
    }
    EXPECT_GT(applied, 0) << "the damage fits none of the workbooks";
    if (refusedExample) {
        expectImportFails(*refusedExample, damage.name);
    }
    EXPECT_LT(peakMemoryMegabytes(), MemoryCeilingMegabytes);
}

std::string testName(const ::testing::TestParamInfo<WorkbookDamage>& info)
{
    std::string name = info.param.name.toStdString();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Damages, XlsDamage, ::testing::ValuesIn(workbookDamages()), testName);

// Cutting a workbook short anywhere: inside the header, at and around every sector boundary of
// its first sectors, and at offsets spread over the rest.
void expectTruncationsRefused(const QStringList& files)
{
    for (const QString& path : files) {
        const QByteArray bytes = readAll(path);
        SCOPED_TRACE(path.toStdString());
        std::optional<WorkbookSnapshot> original;
        try {
            original = readSnapshot(bytes);
        } catch (const WorkbookError&) {
            continue; // refused whole, as the differential test checks
        }
        // Fewer cuts for large files, so that each file costs about the same.
        const int spread = static_cast<int>(std::clamp<qsizetype>(
            200 * (256 * 1024) / std::max<qsizetype>(bytes.size(), 1), 24, 200));
        int harmless = 0;
        int imports = 0;
        QTemporaryDir dir;
        for (qsizetype offset : truncationOffsets(bytes.size(), spread, 8192)) {
            const QString what = u"%1 cut at %2"_s.arg(nameOf(path)).arg(offset);
            const QByteArray cut = bytes.left(offset);
            const Reading reading = readBytes(cut, what);
            if (reading.snapshot) {
                // Only bytes the workbook never needed may be missing.
                EXPECT_TRUE(*reading.snapshot == *original) << what.toStdString();
                ++harmless;
            } else if (imports++ % 16 == 0) {
                expectImportFails(writeTemporary(dir, cut), what);
            }
        }
        if (harmless > 0) {
            std::printf("  %s: %d cuts removed only unused bytes\n", qPrintable(nameOf(path)),
                        harmless);
        }
    }
    EXPECT_LT(peakMemoryMegabytes(), MemoryCeilingMegabytes);
}

TEST(XlsTruncated, GeneratedWorkbooksCutShortAreRefused)
{
    expectTruncationsRefused(generatedWorkbooks());
}

TEST(XlsTruncated, CommittedWorkbooksCutShortAreRefused)
{
    expectTruncationsRefused(committedWorkbooks());
}

TEST(XlsRefused, FilesThatAreNoWorkbookAreRefused)
{
    const QStringList files = refusedFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const Reading reading = readBytes(readAll(path), path);
        EXPECT_FALSE(reading.snapshot.has_value()) << "read without complaint";
        expectImportFails(path, path);
    }
}

TEST(XlsRefused, MissingFileIsRefused)
{
    EXPECT_THROW(xls::XlsWorkbook::openFile(u"/nonexistent/folder/book.xls"_s), WorkbookError);
    expectImportFails(u"/nonexistent/folder/book.xls"_s, u"a missing file"_s);
}

TEST(XlsRefused, Biff5WorkbookIsRefused)
{
    const QByteArray book = biff5Workbook();
    QTemporaryDir dir;
    const QString path = writeTemporary(dir, book);
    // The crafted file is a workbook another reader accepts: only its format is refused.
    const OracleWorkbook freexl = readWithFreeXl(path);
    ASSERT_TRUE(freexl.readable) << freexl.failure.toStdString();
    ASSERT_EQ(freexl.sheets.size(), 1u);
    const auto label = freexl.sheets[0].cells.find({0, 0});
    ASSERT_NE(label, freexl.sheets[0].cells.end());
    EXPECT_EQ(label->second.text, u"BIFF5 text"_s);

    EXPECT_FALSE(readBytes(book, u"BIFF5"_s).snapshot.has_value());
    expectImportFails(path, u"BIFF5"_s);
}

TEST(XlsRefused, EncryptedWorkbooksAreRefused)
{
    // Committed encrypted workbooks, and one whose globals carry a FILEPASS record; FreeXL
    // confirms that the latter is what an encrypted workbook looks like.
    QStringList files;
    for (const QString& path : committedWorkbooks()) {
        if (nameOf(path).contains(u"encrypt"_s, Qt::CaseInsensitive)) {
            files.append(path);
        }
    }
    QTemporaryDir dir;
    const QString synthesized = dir.filePath(u"filepass.xls"_s);
    {
        const auto damages = workbookDamages();
        const auto filePass = std::find_if(damages.begin(), damages.end(), [](const auto& d) {
            return d.name == u"filepass-rc4"_s;
        });
        ASSERT_NE(filePass, damages.end());
        QFile file(synthesized);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(filePass->apply(readAll(generatedFolder() + u"/numbers.xls"_s)));
    }
    EXPECT_EQ(readWithFreeXl(synthesized).failure, u"encrypted"_s);
    files.append(synthesized);
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(readBytes(readAll(path), path).snapshot.has_value());
        expectImportFails(path, path);
    }
}

TEST(XlsRefused, ColumnBeyondTheUsedPartFailsAtTheFirstRow)
{
    auto workbook = xls::XlsWorkbook::openFile(generatedFolder() + u"/masters.xls"_s);
    const int sheet = static_cast<int>(workbook->sheetNames().indexOf(u"商品マスタ"_s));
    ASSERT_GE(sheet, 0);
    const int columns = workbook->usedRange(sheet).columns;
    std::vector<CellValue> row;
    auto fits = workbook->openSheet(u"商品マスタ"_s, columns);
    EXPECT_TRUE(fits->nextRow(row));
    EXPECT_THROW(
        {
            auto tooWide = workbook->openSheet(u"商品マスタ"_s, columns + 1);
            tooWide->nextRow(row);
        },
        WorkbookError);
    EXPECT_THROW(workbook->openSheet(u"商品マスタ$"_s, 1), WorkbookError);
}

} // namespace
