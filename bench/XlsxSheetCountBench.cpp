// The .xlsx reader against workbooks of many sheets: the import of a package with N worksheets
// each on a part of its own (every table opened and read, as the import reads them), of one
// with N sheet entries all on one part (refused), and of one with N chart sheets beside the
// two master sheets. The time must grow with N, not with its square.
// Usage: setzaiko_xlsx_sheet_count_bench [benchmark options]

#include "import/ImportRun.h"
#include "workbook/WorkbookFileOpener.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>
#include <zlib.h>

using namespace setzaiko;

namespace {

enum class Layout { OwnParts, OnePart, ChartSheets };

void put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A zip archive of stored entries.
std::string storedZip(const std::vector<std::pair<std::string, std::string>>& parts)
{
    std::string zip;
    std::string directory;
    for (const auto& [name, data] : parts) {
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto offset = static_cast<std::uint32_t>(zip.size());
        const auto fields = [&](std::string& out) {
            put(out, 20, 2); // version needed
            put(out, 0, 2);  // flags
            put(out, 0, 2);  // stored
            put(out, 0, 4);  // time and date
            put(out, crc, 4);
            put(out, static_cast<std::uint32_t>(data.size()), 4);
            put(out, static_cast<std::uint32_t>(data.size()), 4);
            put(out, static_cast<std::uint32_t>(name.size()), 2);
            put(out, 0, 2); // extra field
        };
        put(zip, 0x04034b50, 4);
        fields(zip);
        zip += name + data;
        put(directory, 0x02014b50, 4);
        put(directory, 20, 2); // version made by
        fields(directory);
        put(directory, 0, 2); // comment
        put(directory, 0, 2); // disk
        put(directory, 0, 2); // internal attributes
        put(directory, 0, 4); // external attributes
        put(directory, offset, 4);
        directory += name;
    }
    const auto start = static_cast<std::uint32_t>(zip.size());
    zip += directory;
    put(zip, 0x06054b50, 4);
    put(zip, 0, 4);
    put(zip, static_cast<std::uint32_t>(parts.size()), 2);
    put(zip, static_cast<std::uint32_t>(parts.size()), 2);
    put(zip, static_cast<std::uint32_t>(directory.size()), 4);
    put(zip, start, 4);
    put(zip, 0, 2);
    return zip;
}

std::string package(Layout layout, int count)
{
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string pkg = "http://schemas.openxmlformats.org/package/2006/relationships";
    const std::string worksheet = "<worksheet xmlns=\"" + main +
                                  "\"><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c>"
                                  "</row></sheetData></worksheet>";
    std::vector<std::pair<std::string, std::string>> parts;
    parts.emplace_back("_rels/.rels", "<Relationships xmlns=\"" + pkg +
                                          "\"><Relationship Id=\"rId1\" Type=\"" + rel +
                                          "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                                          "</Relationships>");
    std::string sheets;
    std::string rels;
    int ids = 0;
    const auto addSheet = [&](const std::string& name, const std::string& kind,
                              const std::string& target) {
        const std::string id = "rId" + std::to_string(++ids);
        sheets += "<sheet name=\"" + name + "\" sheetId=\"1\" r:id=\"" + id + "\"/>";
        rels += "<Relationship Id=\"" + id + "\" Type=\"" + rel + "/" + kind + "\" Target=\"" +
                target + "\"/>";
    };
    addSheet("\xE5\x95\x86\xE5\x93\x81\xE3\x83\x9E\xE3\x82\xB9\xE3\x82\xBF", "worksheet",
             "worksheets/products.xml"); // 商品マスタ
    addSheet("\xE5\x9C\xA8\xE5\xBA\xAB\xE3\x83\x9E\xE3\x82\xB9\xE3\x82\xBF", "worksheet",
             "worksheets/stocks.xml"); // 在庫マスタ
    // The master sheets as wide as the import reads them.
    const auto master = [&](const char* last) {
        return "<worksheet xmlns=\"" + main +
               "\"><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v>"
               "</c><c r=\"" +
               last + "\"><v>1</v></c></row></sheetData></worksheet>";
    };
    parts.emplace_back("xl/worksheets/products.xml", master("J1"));
    parts.emplace_back("xl/worksheets/stocks.xml", master("H1"));
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        switch (layout) {
        case Layout::OwnParts:
            addSheet("S" + n, "worksheet", "worksheets/s" + n + ".xml");
            parts.emplace_back("xl/worksheets/s" + n + ".xml", worksheet);
            break;
        case Layout::OnePart:
            addSheet("S" + n, "worksheet", "worksheets/stocks.xml");
            break;
        case Layout::ChartSheets:
            addSheet("C" + n, "chartsheet", "chartsheets/c" + n + ".xml");
            parts.emplace_back("xl/chartsheets/c" + n + ".xml",
                               "<chartsheet xmlns=\"" + main + "\"/>");
            break;
        }
    }
    parts.emplace_back("xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel +
                                              "\"><sheets>" + sheets + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels",
                       "<Relationships xmlns=\"" + pkg + "\">" + rels + "</Relationships>");
    return storedZip(parts);
}

void importSheets(benchmark::State& state, Layout layout)
{
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheets.xlsx"));
    const std::string bytes = package(layout, count);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        state.SkipWithError("the package cannot be written");
        return;
    }
    file.close();
    WorkbookFileOpener opener;
    ImportResult result;
    for (auto _ : state) {
        result = runImport(path, opener);
        benchmark::DoNotOptimize(result);
    }
    // Each package either imports or is refused as damaged; nothing else is right.
    const bool refused = result.outcome == ImportResult::Outcome::Failed;
    if (refused != (layout == Layout::OnePart)) {
        state.SkipWithError(
            ("the import ended otherwise than expected: " + result.failureDetail.toStdString())
                .c_str());
    }
    state.counters["sheets"] = count;
    state.counters["package KB"] = double(bytes.size()) / 1024;
}

void sheetsOnOwnParts(benchmark::State& state)
{
    importSheets(state, Layout::OwnParts);
}

void sheetEntriesOnOnePart(benchmark::State& state)
{
    importSheets(state, Layout::OnePart);
}

void chartSheets(benchmark::State& state)
{
    importSheets(state, Layout::ChartSheets);
}

} // namespace

BENCHMARK(sheetsOnOwnParts)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(sheetEntriesOnOnePart)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(chartSheets)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
