// Feeds arbitrary bytes to a whole import run: the workbook reader over the bytes, the later
// master sheet read on a second thread while the earlier one is read, into real tables. Any
// outcome may come of it. libFuzzer and the sanitizers catch crashes, hangs, leaks and huge
// allocations; the traps below catch a run that reports something its tables contradict, and a
// reader that breaks its promise to fail only with WorkbookError.

#include "import/ImportRun.h"
#include "workbook/xls/XlsWorkbook.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <thread>

using namespace setzaiko;

namespace {

// Says which check failed, as a trap alone would not in an optimised build.
[[noreturn]] void fault(const char* what)
{
    std::fprintf(stderr, "import_run_fuzzer: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

// Anything but WorkbookError out of the reader is a fault of the reader, even though the run
// would turn it into its unexpected-error outcome all the same.
template <typename Call>
auto onlyWorkbookErrors(Call call) -> decltype(call())
{
    try {
        return call();
    } catch (const WorkbookError&) {
        throw;
    } catch (...) {
        fault("the reader threw something other than WorkbookError");
    }
}

class CheckedCells : public CellStream
{
public:
    explicit CheckedCells(std::unique_ptr<CellStream> cells) : m_cells(std::move(cells)) {}

    SheetLayout start() override
    {
        return onlyWorkbookErrors([&] { return m_cells->start(); });
    }

    bool next(StreamedCell& cell) override
    {
        return onlyWorkbookErrors([&] { return m_cells->next(cell); });
    }

private:
    std::unique_ptr<CellStream> m_cells;
};

class CheckedWorkbook : public Workbook
{
public:
    explicit CheckedWorkbook(std::unique_ptr<Workbook> workbook) : m_workbook(std::move(workbook))
    {}

    QStringList sheetNames() const override
    {
        return onlyWorkbookErrors([&] { return m_workbook->sheetNames(); });
    }

    std::unique_ptr<CellStream> openCells(const QString& name, int columnCount) override
    {
        return std::make_unique<CheckedCells>(
            onlyWorkbookErrors([&] { return m_workbook->openCells(name, columnCount); }));
    }

private:
    std::unique_ptr<Workbook> m_workbook;
};

// Opens the fuzzer's bytes whatever the path, through the reader the program uses.
class BytesOpener : public WorkbookOpener
{
public:
    BytesOpener(const std::uint8_t* data, std::size_t size)
        : m_bytes(QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                          static_cast<qsizetype>(size)))
    {}

    std::unique_ptr<Workbook> open(const QString&) override
    {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(m_bytes);
        buffer->open(QIODevice::ReadOnly);
        return std::make_unique<CheckedWorkbook>(
            onlyWorkbookErrors([&] { return xls::XlsWorkbook::open(std::move(buffer)); }));
    }

private:
    QByteArray m_bytes; // not a copy: valid while the input is
};

// The front updates its window from these calls, so they must come on the thread that started
// the run, and the counts it shows may only grow as the sheets are read in workbook order.
class CheckingObserver : public ImportObserver
{
public:
    void started() override { onRunThread(); }
    void stepDone() override { onRunThread(); }
    void waiting(const ImportCounts&) override { onRunThread(); }
    void rowRead(const ImportCounts& counts) override
    {
        onRunThread();
        if (m_last && (counts.products < m_last->products || counts.stocks < m_last->stocks)) {
            fault("a count the observer was given went back");
        }
        m_last = counts;
    }

    const std::optional<ImportCounts>& last() const { return m_last; }

private:
    void onRunThread() const
    {
        if (std::this_thread::get_id() != m_runThread) {
            fault("the observer was called on another thread than the run's");
        }
    }

    std::thread::id m_runThread = std::this_thread::get_id();
    std::optional<ImportCounts> m_last;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BytesOpener opener(data, size);
    CheckingObserver observer;
    const ImportResult result = runImport(QStringLiteral("fuzz.xls"), opener, &observer);

    if (result.outcome == ImportResult::Outcome::Refused) {
        fault("refused a path that is not blank");
    }
    if (!result.book || result.book->outcome() != result.outcome) {
        fault("no book, or a book of another outcome than the result's");
    }
    const ProductMaster& products = result.book->products();
    const StockMaster& stocks = result.book->stocks();
    // Whatever the outcome, the counts the labels end with are the rows the tables hold: a sheet
    // the run never reached (a read ahead not handed over) has left nothing behind.
    const ImportCounts shown = result.counts.value_or(ImportCounts{});
    if (products.count() != shown.products || stocks.count() != shown.stocks) {
        fault("the tables hold other row counts than the result reports");
    }
    if (result.counts.has_value() != observer.last().has_value() ||
        (result.counts && (observer.last()->products != shown.products ||
                           observer.last()->stocks != shown.stocks))) {
        fault("the result's counts are not the last the observer was given");
    }
    const bool success = result.outcome == ImportResult::Outcome::Success;
    if (success != (result.status == ImportStatus::Ok) ||
        (success && (shown.products == 0 || shown.stocks == 0))) {
        fault("a success without rows in both tables, or an outcome at odds with its status");
    }
    return 0;
}
