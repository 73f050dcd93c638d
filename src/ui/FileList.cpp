#include "ui/FileList.h"

#include "workbook/WorkbookFormats.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

FileList::FileList(QWidget* parent) : ChoiceList(parent)
{
    setPath(QDir::currentPath());
    connect(this, &ChoiceList::itemPicked, this, &FileList::fileClicked);
    connect(this, &ChoiceList::itemOpened, this, &FileList::fileOpened);
}

void FileList::setPath(const QString& path)
{
    m_path = path;
    refill([this] {
        QDir dir(m_path);
        // Matched without regard to case, so that BOOK.XLS and Book.Xlsx are listed too. Hidden
        // files (the ._book.xls a shared folder leaves beside book.xls) are no workbooks.
        dir.setNameFilters(workbookNameFilters());
        dir.setFilter(QDir::Files);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        addItems(dir.entryList());
    });
}

QString FileList::fileName() const
{
    const QListWidgetItem* item = picked();
    return item ? item->text() : QString();
}

} // namespace setzaiko
