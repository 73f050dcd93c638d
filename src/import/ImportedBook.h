#pragma once

#include "master/MasterData.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace setzaiko {

// The row counts of one import run, as the count labels show them.
struct ImportCounts
{
    std::int32_t products = 0;
    std::int32_t stocks = 0;
    std::int64_t total() const { return std::int64_t{products} + stocks; }
    bool operator==(const ImportCounts&) const = default;
};

// The value of the import window's ImportStatus after a run.
enum class ImportStatus : std::int16_t {
    Ok = 0,
    OverLimit = 1,
    NotNumeric = 2,
    NoRows = 3,
    Failed = 9,
};

enum class ImportOutcome { Refused, OverLimit, NotNumeric, NoRows, Success, Failed };

// What one import run read, whatever its outcome: the two tables as the run leaves them (with
// their code indexes and the component lookup), the workbook, the outcome and the counts shown
// at its end. Made once on the thread that ran the import and never changed after, so every
// window and command holds the book it was given for as long as it needs it.
class ImportedBook
{
public:
    // The book before any import: both tables empty.
    ImportedBook() = default;
    ImportedBook(ProductMaster products, StockMaster stocks, QString path, ImportOutcome outcome,
                 ImportStatus status, std::optional<ImportCounts> counts);
    ImportedBook(const ImportedBook&) = delete;
    ImportedBook& operator=(const ImportedBook&) = delete;

    const MasterData& masters() const { return m_masters; }
    const ProductMaster& products() const { return m_masters.products(); }
    const StockMaster& stocks() const { return m_masters.stocks(); }
    bool isEmpty() const { return products().count() == 0 && stocks().count() == 0; }

    // The workbook as the run opened it, and its folder with the trailing separator.
    const QString& path() const { return m_path; }
    const QString& folder() const { return m_folder; }

    ImportOutcome outcome() const { return m_outcome; }
    ImportStatus status() const { return m_status; }
    // The counts the labels show at the end; nullopt when no row was completed.
    const std::optional<ImportCounts>& counts() const { return m_counts; }

private:
    MasterData m_masters;
    QString m_path;
    QString m_folder;
    ImportOutcome m_outcome = ImportOutcome::Refused;
    ImportStatus m_status = ImportStatus::Ok;
    std::optional<ImportCounts> m_counts;
};

} // namespace setzaiko
