// The floor of an .xlsx import: inflating the parts of both master sheets and touching every
// byte of their XML once (counting the '<'), one after the other on one core, as the reader
// inflates them. The package's directory is read before the clock starts.
// Usage: setzaiko_xlsx_floor BOOK.xlsx [ROUNDS]   (ROUNDS, default 3: each is printed)

#include "workbook/xlsx/RawInflate.h"
#include "workbook/xlsx/XlsxWorkbook.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace setzaiko;
using namespace setzaiko::xlsx;

namespace {

struct Pass
{
    std::uint64_t bytes = 0;
    std::uint64_t tags = 0;
};

void countTags(const char* data, std::size_t size, Pass& pass)
{
    pass.bytes += size;
    pass.tags += static_cast<std::uint64_t>(std::count(data, data + size, '<'));
}

void inflateAndCount(const QByteArray& file, const ZipEntry& entry, Pass& pass)
{
    const char* stored = file.constData() + entry.dataOffset;
    if (!entry.deflated) {
        countTags(stored, static_cast<std::size_t>(entry.compressedSize), pass);
        return;
    }
    RawInflate inflate;
    std::vector<char> out(1024 * 1024);
    std::uint64_t left = entry.compressedSize;
    while (!inflate.finished()) {
        const RawInflate::Step step =
            inflate.step(stored, static_cast<std::size_t>(left), out.data(), out.size());
        stored += step.consumed;
        left -= step.consumed;
        countTags(out.data(), step.produced, pass);
        if (step.consumed == 0 && step.produced == 0) {
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s BOOK.xlsx [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    try {
        const auto workbook = XlsxWorkbook::openFile(QString::fromLocal8Bit(argv[1]));
        std::vector<ZipEntry> masters;
        for (int sheet = 0; sheet < workbook->sheetCount(); ++sheet) {
            const QString name = workbook->sheetName(sheet);
            if (name == QStringLiteral("商品マスタ") || name == QStringLiteral("在庫マスタ")) {
                masters.push_back(workbook->sheetEntry(sheet));
            }
        }
        for (int round = 0; round < rounds; ++round) {
            Pass pass;
            const auto start = std::chrono::steady_clock::now();
            for (const ZipEntry& entry : masters) {
                inflateAndCount(workbook->bytes(), entry, pass);
            }
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            std::printf("floor: %.3f s for %zu master sheets, %llu bytes of XML, %llu '<'\n",
                        took.count(), masters.size(), static_cast<unsigned long long>(pass.bytes),
                        static_cast<unsigned long long>(pass.tags));
        }
    } catch (const WorkbookError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
