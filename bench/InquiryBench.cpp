// The inquiry and component engine on the full benchmark workbook (65,535 rows in each master
// sheet, imported once): a filtered search that scans the whole stock master, the listing of
// a set product with 100 components, an order simulation over it, and its CSV export. The
// first search, listing and simulation after the import are timed on their own as well, since
// nothing is warm for them.
// Usage: setzaiko_inquiry_bench [--workbook=PATH] [--big-set=CODE] [benchmark options]

#include "common/Cp932Encoder.h"
#include "component/OrderPlan.h"
#include "export/StockStatusCsv.h"
#include "import/ImportRun.h"
#include "inquiry/SetProductSearch.h"
#include "screen/ComponentScreen.h"
#include "workbook/WorkbookFileOpener.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

namespace {

QString workbookPath = QStringLiteral(SETZAIKO_BENCH_WORKBOOK);
// The set product of the benchmark workbook with 100 components.
QString bigSet = u"P065530"_s;

// The workbook is imported once, at the first benchmark that needs it.
const MasterData& tables()
{
    static std::shared_ptr<const ImportedBook> book;
    static const bool imported = [] {
        WorkbookFileOpener opener;
        QElapsedTimer timer;
        timer.start();
        const ImportResult result = runImport(workbookPath, opener);
        book = result.book;
        if (result.outcome != ImportResult::Outcome::Success) {
            std::fprintf(stderr, "the benchmark workbook did not import: %s\n",
                         qPrintable(result.failureDetail));
            std::exit(1);
        }
        std::printf("import: %lld ms, %d product rows, %d stock rows\n",
                    static_cast<long long>(timer.elapsed()), book->products().count(),
                    book->stocks().count());
        return true;
    }();
    (void)imported;
    return book->masters();
}

std::int32_t bigSetStock()
{
    for (std::int32_t i = 0; i < tables().stocks().count(); ++i) {
        if (tables().stocks().row(i).productCode == bigSet) {
            return tables().stocks().row(i).stockQuantity;
        }
    }
    return 0;
}

void filteredSearch(benchmark::State& state)
{
    // A name text that no row holds: the scan runs over every row of the stock master.
    for (auto _ : state) {
        const SetProductSearchResult found =
            searchSetProducts(tables().stocks(), u"P"_s, u"該当なし"_s);
        benchmark::DoNotOptimize(found.found.size());
    }
    state.counters["rows scanned"] = double(tables().stocks().count());
}

void listing100(benchmark::State& state)
{
    std::size_t rows = 0;
    for (auto _ : state) {
        const SetAvailability listing = listComponents(bigSet, tables());
        rows = listing.rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["components"] = double(rows);
}

void simulation100(benchmark::State& state)
{
    const std::int32_t stock = bigSetStock();
    std::size_t rows = 0;
    for (auto _ : state) {
        const OrderPlan simulation = planOrder(u"999999"_s, stock, bigSet, tables());
        rows = simulation.components.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["components"] = double(rows);
}

void export100(benchmark::State& state)
{
    QTemporaryDir dir;
    ComponentScreen session(tables(),
                            SetProduct{bigSet, u"ベンチマークセット"_s, u"セット"_s, bigSetStock()},
                            dir.path() + u'/');
    session.listComponents();
    StockStatus status = session.stockStatus();
    status.order = 999999;
    const auto encoder = Cp932Encoder::create();
    const QDateTime stamp(QDate(2026, 12, 7), QTime(12, 0));
    int lines = 0;
    for (auto _ : state) {
        lines = exportStockStatus(status, stamp, *encoder).lines;
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = double(lines);
}

// Each once, right after the import, in the order a user takes them.
void firstAfterImport()
{
    QElapsedTimer timer;
    timer.start();
    const SetProductSearchResult found =
        searchSetProducts(tables().stocks(), u"P"_s, u"該当なし"_s);
    const qint64 search = timer.nsecsElapsed();
    timer.restart();
    const SetAvailability listing = listComponents(bigSet, tables());
    const qint64 list = timer.nsecsElapsed();
    const std::int32_t stock = bigSetStock();
    timer.restart();
    const OrderPlan simulation = planOrder(u"999999"_s, stock, bigSet, tables());
    const qint64 simulate = timer.nsecsElapsed();
    std::printf("first after the import: search %.2f ms (%zu rows found), listing of %s %.2f ms "
                "(%zu components), simulation %.2f ms (%zu rows)\n",
                double(search) / 1e6, found.found.size(), qPrintable(bigSet), double(list) / 1e6,
                listing.rows.size(), double(simulate) / 1e6, simulation.components.size());
}

} // namespace

BENCHMARK(filteredSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(listing100)->Unit(benchmark::kMillisecond);
BENCHMARK(simulation100)->Unit(benchmark::kMillisecond);
BENCHMARK(export100)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--workbook=", 11) == 0) {
            workbookPath = QString::fromLocal8Bit(argv[i] + 11);
        } else if (std::strncmp(argv[i], "--big-set=", 10) == 0) {
            bigSet = QString::fromLocal8Bit(argv[i] + 10);
        }
    }
    benchmark::Initialize(&argc, argv);
    tables();
    firstAfterImport();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
