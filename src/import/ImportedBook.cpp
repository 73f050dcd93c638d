#include "import/ImportedBook.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace setzaiko {

namespace {

QString folderOf(const QString& path)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    return folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
}

} // namespace

ImportedBook::ImportedBook(ProductMaster products, StockMaster stocks, QString path,
                           ImportOutcome outcome, ImportStatus status,
                           std::optional<ImportCounts> counts)
    : m_masters(std::move(products), std::move(stocks)), m_path(std::move(path)),
      m_folder(folderOf(m_path)), m_outcome(outcome), m_status(status), m_counts(counts)
{}

} // namespace setzaiko
