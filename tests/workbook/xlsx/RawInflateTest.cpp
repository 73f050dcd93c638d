// Each inflate engine the build has gives back exactly what was deflated, whatever the pieces
// it is fed and asked for, with the checksum zip entries declare; damaged or cut streams are
// refused or never finish, and nothing hangs.

#include "workbook/xlsx/RawInflate.h"

#include "workbook/Workbook.h"
#include "workbook/xlsx/StoredArchive.h"
#include "workbook/xlsx/ZipArchive.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <zlib.h>

using namespace setzaiko;
using namespace setzaiko::xlsx;
using setzaiko::testing::deflatedArchive;
using setzaiko::testing::rawDeflate;

namespace {

const char* nameOf(RawInflate::Engine engine)
{
    return engine == RawInflate::Engine::Fast ? "fast" : "zlib";
}

std::string sheetLike(std::size_t size)
{
    std::string text;
    for (std::size_t row = 1; text.size() < size; ++row) {
        text += "<row r=\"" + std::to_string(row) + "\"><c r=\"B" + std::to_string(row) +
                "\" t=\"s\"><v>" + std::to_string(row * 7919 % 1000) + "</v></c></row>";
    }
    text.resize(size);
    return text;
}

std::string noise(std::size_t size)
{
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

std::uint32_t zlibCrc(const std::string& bytes)
{
    return static_cast<std::uint32_t>(
        crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

struct Outcome
{
    std::string out;
    bool finished = false;
    std::uint32_t checksum = 0;
};

// Feeds stream in pieces of inPiece bytes and asks for outPiece bytes at a time, until the
// stream finishes or neither side moves. Throws what the engine throws.
Outcome inflateAll(RawInflate::Engine engine, const std::string& stream, std::size_t inPiece,
                   std::size_t outPiece)
{
    RawInflate inflate(engine);
    Outcome outcome;
    std::string piece(outPiece, '\0');
    std::size_t at = 0;
    while (!inflate.finished()) {
        const std::size_t offered = std::min(inPiece, stream.size() - at);
        const RawInflate::Step step =
            inflate.step(stream.data() + at, offered, piece.data(), piece.size());
        at += step.consumed;
        outcome.out.append(piece.data(), step.produced);
        if (step.consumed == 0 && step.produced == 0 && at == stream.size()) {
            break;
        }
        if (outcome.out.size() > 64u << 20) {
            ADD_FAILURE() << "inflates without end";
            break;
        }
    }
    outcome.finished = inflate.finished();
    outcome.checksum = inflate.checksum();
    return outcome;
}

TEST(RawInflate, EveryEngineGivesBackWhatWasDeflatedInAnyPieces)
{
    const struct
    {
        const char* name;
        std::string content;
    } contents[] = {
        {"empty", ""},
        {"one byte", "x"},
        {"sheet rows, 3 MB", sheetLike(3 << 20)},
        {"noise, stored blocks", noise(200000)},
        {"Japanese text", sheetLike(1000) + "在庫マスタ 商品マスタ ○ セット商品"},
    };
    const std::pair<std::size_t, std::size_t> pieces[] = {
        {1, 1}, {7, 13}, {65536, 1}, {1, 1 << 20}, {1 << 30, 1 << 20}, {4096, 65536}};
    for (const RawInflate::Engine engine : RawInflate::engines()) {
        for (const auto& [name, content] : contents) {
            const std::string stream = rawDeflate(content);
            for (const auto& [inPiece, outPiece] : pieces) {
                if (content.size() > 100000 && (inPiece == 1 || outPiece == 1)) {
                    continue; // byte by byte through megabytes proves nothing more
                }
                SCOPED_TRACE(std::string(nameOf(engine)) + ", " + name + ", in " +
                             std::to_string(inPiece) + ", out " + std::to_string(outPiece));
                const Outcome outcome = inflateAll(engine, stream, inPiece, outPiece);
                EXPECT_TRUE(outcome.finished);
                EXPECT_TRUE(outcome.out == content);
                EXPECT_EQ(outcome.checksum, zlibCrc(content));
            }
        }
    }
}

TEST(RawInflate, DamagedStreamsAreRefusedAndCutOnesNeverFinish)
{
    const std::string content = sheetLike(300000);
    const std::string stream = rawDeflate(content);
    std::string badBlockType = stream;
    badBlockType[0] = static_cast<char>(0x07); // last block, type 3: no such type
    const std::string storedLengthsDisagree("\x01\x05\x00\x00\x00hello", 10); // LEN 5, NLEN 0
    // A fixed-code block whose first symbol is a match 1 back: nothing is there yet.
    const std::string farBack("\x03\x02\x00", 3);
    for (const RawInflate::Engine engine : RawInflate::engines()) {
        SCOPED_TRACE(nameOf(engine));
        for (const std::string& damaged : {badBlockType, storedLengthsDisagree, farBack}) {
            EXPECT_THROW(inflateAll(engine, damaged, 4096, 65536), WorkbookError);
        }
        for (const std::size_t cut :
             {std::size_t{0}, std::size_t{1}, stream.size() / 2, stream.size() - 1}) {
            SCOPED_TRACE(cut);
            try {
                const Outcome outcome = inflateAll(engine, stream.substr(0, cut), 4096, 65536);
                EXPECT_FALSE(outcome.finished);
                EXPECT_EQ(outcome.out, content.substr(0, outcome.out.size()));
            } catch (const WorkbookError&) {
                // refusing a cut stream outright is as good
            }
        }
    }
}

// Through the archive: a deflated entry reads as its content, and one whose declared checksum
// is not that of its bytes is refused once they are read.
TEST(RawInflate, DeflatedEntriesAreCheckedAgainstTheirChecksum)
{
    const std::string content = sheetLike(1 << 20);
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged);
        const QByteArray bytes = deflatedArchive(content, damaged);
        ZipArchive archive(bytes);
        ZipEntryReader reader(archive, *archive.find(QStringLiteral("p.xml")));
        std::string read;
        std::string piece(100000, '\0');
        const auto readAll = [&] {
            while (const std::size_t n = reader.read(piece.data(), piece.size())) {
                read.append(piece.data(), n);
            }
        };
        if (damaged) {
            EXPECT_THROW(readAll(), WorkbookError);
        } else {
            readAll();
            EXPECT_TRUE(read == content);
        }
    }
}

} // namespace
