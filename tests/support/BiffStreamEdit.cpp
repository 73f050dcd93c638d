#include "support/BiffStreamEdit.h"

#include "support/CompoundFileImage.h"

#include <QtEndian>

namespace setzaiko::testing {

namespace {

QByteArray le16(std::uint16_t value)
{
    char raw[2];
    qToLittleEndian<quint16>(value, raw);
    return QByteArray(raw, 2);
}

QByteArray le32(std::uint32_t value)
{
    char raw[4];
    qToLittleEndian<quint32>(value, raw);
    return QByteArray(raw, 4);
}

bool onlyZeros(const QByteArray& bytes, qsizetype from)
{
    for (qsizetype i = from; i < bytes.size(); ++i) {
        if (bytes[i] != '\0') {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<BiffRecord> splitBiffRecords(const QByteArray& stream)
{
    std::vector<BiffRecord> records;
    qsizetype pos = 0;
    while (pos + 4 <= stream.size() && !onlyZeros(stream, pos)) {
        BiffRecord record;
        record.id = qFromLittleEndian<quint16>(stream.constData() + pos);
        const auto size = qFromLittleEndian<quint16>(stream.constData() + pos + 2);
        record.data = stream.mid(pos + 4, size);
        records.push_back(record);
        pos += 4 + size;
    }
    return records;
}

QByteArray joinBiffRecords(const std::vector<BiffRecord>& records)
{
    QByteArray stream;
    for (const BiffRecord& record : records) {
        stream.append(le16(record.id));
        stream.append(le16(static_cast<std::uint16_t>(record.data.size())));
        stream.append(record.data);
    }
    return stream;
}

int findRecord(const std::vector<BiffRecord>& records, std::uint16_t id, int from)
{
    for (int i = from; i < static_cast<int>(records.size()); ++i) {
        if (records[static_cast<std::size_t>(i)].id == id) {
            return i;
        }
    }
    return -1;
}

void fixSheetOffsets(std::vector<BiffRecord>& records)
{
    std::vector<std::uint32_t> offsets;
    std::uint32_t pos = 0;
    bool globalsDone = false;
    for (const BiffRecord& record : records) {
        if (record.id == biff::Bof && globalsDone) {
            offsets.push_back(pos);
        }
        if (record.id == biff::Eof) {
            globalsDone = true;
        }
        pos += 4 + static_cast<std::uint32_t>(record.data.size());
    }
    std::size_t sheet = 0;
    for (BiffRecord& record : records) {
        if (record.id == biff::BoundSheet && sheet < offsets.size() && record.data.size() >= 4) {
            record.data.replace(0, 4, le32(offsets[sheet++]));
        }
    }
}

QByteArray rewriteWorkbookStream(const QByteArray& file,
                                 const std::function<void(std::vector<BiffRecord>&)>& edit,
                                 const QString& streamName)
{
    const CompoundFileImage image(file);
    auto records = splitBiffRecords(image.stream(QStringLiteral("Workbook")));
    edit(records);
    fixSheetOffsets(records);
    return buildCompoundFile(streamName, joinBiffRecords(records));
}

QByteArray biff5Workbook()
{
    const QByteArray name = QByteArrayLiteral("Sheet1");
    std::vector<BiffRecord> records;
    auto bof = [](std::uint16_t type) {
        return le16(0x0500) + le16(type) + le16(0x0DBB) + le16(0x07CC);
    };
    records.push_back({biff::Bof, bof(0x0005)});
    records.push_back({biff::CodePage, le16(1252)});
    records.push_back({biff::BoundSheet, le32(0) + le16(0) + char(name.size()) + name});
    records.push_back({biff::Eof, {}});
    records.push_back({biff::Bof, bof(0x0010)});
    records.push_back({biff::Dimensions, le16(0) + le16(2) + le16(0) + le16(2) + le16(0)});
    const QByteArray text = QByteArrayLiteral("BIFF5 text");
    records.push_back({biff::Label, le16(0) + le16(0) + le16(15) +
                                        le16(static_cast<std::uint16_t>(text.size())) + text});
    QByteArray number = le16(1) + le16(1) + le16(15);
    const double value = 42.5;
    char raw[8];
    qToLittleEndian<double>(value, raw);
    number.append(raw, 8);
    records.push_back({biff::Number, number});
    records.push_back({biff::Eof, {}});
    fixSheetOffsets(records);
    return buildCompoundFile(QStringLiteral("Book"), joinBiffRecords(records));
}

} // namespace setzaiko::testing
