#include "import/ImportRun.h"

#include "common/TextRules.h"
#include "import/ImportRunTexts.h"
#include "import/SheetReadAhead.h"
#include "import/SheetReading.h"
#include "import/SheetRules.h"
#include "workbook/Workbook.h"

#include <atomic>
#include <exception>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

using namespace importrun;

struct SheetToRead
{
    QString name;
    TableKind kind;
};

void readWorkbook(Workbook& workbook, ProductMaster& products, StockMaster& stocks,
                  ImportStatus& status, std::optional<ImportCounts>& counts,
                  ImportObserver* observer)
{
    std::vector<SheetToRead> sheets;
    for (const QString& name : workbook.sheetNames()) {
        sheets.push_back({name, kindOf(name)});
    }
    // The counts as the labels show them: a sheet's rows count once the run has reached it.
    ImportCounts shown;
    const auto countOf = [](TableKind kind, ImportCounts& counts) -> std::int32_t* {
        return kind == TableKind::Product ? &counts.products
               : kind == TableKind::Stock ? &counts.stocks
                                          : nullptr;
    };
    const auto rowDone = [&] {
        counts = shown;
        if (observer) {
            observer->rowRead(shown);
        }
    };
    const auto stepDone = [observer] {
        if (observer) {
            observer->stepDone();
        }
    };

    // With both master sheets present, the later one is read ahead from the moment the earlier
    // one is opened. Only a sheet of the other kind is read ahead: each thread then fills a
    // table of its own.
    std::size_t firstMaster = sheets.size();
    std::size_t aheadIndex = sheets.size();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (sheets[i].kind == TableKind::Other) {
            continue;
        }
        if (firstMaster == sheets.size()) {
            firstMaster = i;
        } else if (sheets[i].kind != sheets[firstMaster].kind) {
            aheadIndex = i;
            break;
        }
    }
    std::unique_ptr<SheetReadAhead> ahead;
    // A sheet's rows reach the counts as they are read, or, where they may still be taken back,
    // once it is read to its end. Its failure, kept until then, ends the run there.
    const auto handOver = [&](const SheetReading& reading, std::int32_t* count) {
        for (const std::int32_t rows : reading.rowsAfterEachRow()) {
            if (count) {
                *count = rows;
            }
            rowDone();
        }
        if (reading.offence() != ImportStatus::Ok) {
            status = reading.offence();
        }
        if (reading.failure()) {
            std::rethrow_exception(reading.failure());
        }
    };
    const std::atomic<bool> neverStopped{false};

    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const SheetToRead& sheet = sheets[i];
        std::int32_t* count = countOf(sheet.kind, shown);
        const auto showSoFar = [&](std::int32_t rowsSoFar) {
            if (observer) {
                ImportCounts soFar = shown;
                if (std::int32_t* counted = countOf(sheet.kind, soFar)) {
                    *counted = rowsSoFar;
                }
                observer->waiting(soFar);
            }
        };
        if (i == aheadIndex) {
            if (ahead->sheet().opened()) {
                stepDone();
            }
            handOver(ahead->finish([&] { showSoFar(ahead->sheet().rowsSoFar()); }), count);
            continue;
        }
        SheetReading reading(sheet.kind, products, stocks);
        reading.open(workbook, sheet.name);
        if (reading.failure()) {
            std::rethrow_exception(reading.failure());
        }
        if (i == firstMaster && aheadIndex < sheets.size()) {
            const SheetToRead& later = sheets[aheadIndex];
            ahead = std::make_unique<SheetReadAhead>(workbook, later.name, later.kind, products,
                                                     stocks);
        }
        // The sheet read ahead is opened before the sheet after this one, if any.
        if (i + 1 == sheets.size() || (i + 2 == sheets.size() && aheadIndex == i + 1)) {
            workbook.allSheetsOpened();
        }
        stepDone();
        reading.read(
            neverStopped,
            [&](std::int32_t rows) {
                if (count) {
                    *count = rows;
                }
                rowDone();
            },
            showSoFar);
        handOver(reading, count);
    }
}

void decideOutcome(ImportResult& result, const ProductMaster& products, const StockMaster& stocks)
{
    if (result.status == ImportStatus::OverLimit) {
        result.outcome = ImportResult::Outcome::OverLimit;
    } else if (result.status == ImportStatus::NotNumeric) {
        result.outcome = ImportResult::Outcome::NotNumeric;
    } else if (products.count() == 0 || stocks.count() == 0) {
        result.outcome = ImportResult::Outcome::NoRows;
        result.status = ImportStatus::NoRows;
    } else {
        result.outcome = ImportResult::Outcome::Success;
    }
}

} // namespace

bool refusesPath(const QString& pathText)
{
    return rightTrim(pathText).isEmpty();
}

ImportResult runImport(const QString& pathText, WorkbookOpener& opener, ImportObserver* observer)
{
    ImportResult result;
    const QString path = rightTrim(pathText);
    if (path.isEmpty()) {
        result.outcome = ImportResult::Outcome::Refused;
        return result;
    }

    // The run starts from empty tables of its own; whatever it leaves in them, in every
    // outcome, becomes the new book.
    ProductMaster products;
    StockMaster stocks;
    const auto handOver = [&] {
        result.book =
            std::make_shared<const ImportedBook>(std::move(products), std::move(stocks), path,
                                                 result.outcome, result.status, result.counts);
    };
    if (observer) {
        observer->started();
    }
    try {
        // The workbook is closed when this block is left, whatever happens in it.
        const std::unique_ptr<Workbook> workbook = opener.open(path);
        if (observer) {
            observer->stepDone();
        }
        readWorkbook(*workbook, products, stocks, result.status, result.counts, observer);
    } catch (const std::exception& failure) {
        const auto* workbookError = dynamic_cast<const WorkbookError*>(&failure);
        result.failureDetail = workbookError ? workbookError->cause()
                                             : importruntexts::unexpectedCause.toString() + u'\n' +
                                                   QString::fromUtf8(failure.what());
        result.outcome = ImportResult::Outcome::Failed;
        result.status = ImportStatus::Failed;
        handOver();
        return result;
    }
    decideOutcome(result, products, stocks);
    handOver();
    return result;
}

} // namespace setzaiko
