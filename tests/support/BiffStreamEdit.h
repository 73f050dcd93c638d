#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace setzaiko::testing {

namespace biff {
inline constexpr std::uint16_t Bof = 0x0809;
inline constexpr std::uint16_t Eof = 0x000A;
inline constexpr std::uint16_t BoundSheet = 0x0085;
inline constexpr std::uint16_t Sst = 0x00FC;
inline constexpr std::uint16_t Continue = 0x003C;
inline constexpr std::uint16_t LabelSst = 0x00FD;
inline constexpr std::uint16_t FilePass = 0x002F;
inline constexpr std::uint16_t Number = 0x0203;
inline constexpr std::uint16_t Label = 0x0204;
inline constexpr std::uint16_t Dimensions = 0x0200;
inline constexpr std::uint16_t CodePage = 0x0042;
inline constexpr std::uint16_t WriteAccess = 0x005C;
} // namespace biff

struct BiffRecord
{
    std::uint16_t id = 0;
    QByteArray data;
};

// The records of a workbook stream; the zero padding after the last record is dropped.
std::vector<BiffRecord> splitBiffRecords(const QByteArray& stream);
QByteArray joinBiffRecords(const std::vector<BiffRecord>& records);

// Points every BOUNDSHEET record at its worksheet's BOF again after records changed size.
void fixSheetOffsets(std::vector<BiffRecord>& records);

// Index of the first record with the id, or -1.
int findRecord(const std::vector<BiffRecord>& records, std::uint16_t id, int from = 0);

// Reads the Workbook stream of a compound file, lets edit change its records, and writes the
// result as a new compound file (sheet offsets corrected) whose stream has the given name.
QByteArray rewriteWorkbookStream(const QByteArray& file,
                                 const std::function<void(std::vector<BiffRecord>&)>& edit,
                                 const QString& streamName = QStringLiteral("Workbook"));

// A small but complete BIFF5 workbook (stream "Book"): one worksheet with a label and a number.
QByteArray biff5Workbook();

} // namespace setzaiko::testing
