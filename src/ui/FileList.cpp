#include "ui/FileList.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

FileList::FileList(QWidget* parent) : QListWidget(parent)
{
    setPath(QDir::currentPath());
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem*) { emit fileClicked(); });
}

void FileList::setPath(const QString& path)
{
    m_path = path;
    clear();
    QDir dir(path);
    // Matched without regard to case, so that BOOK.XLS and Book.Xlsx are listed too.
    dir.setNameFilters({u"*.xls"_s, u"*.xlsx"_s, u"*.xlsm"_s});
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    addItems(dir.entryList());
}

QString FileList::fileName() const
{
    const QListWidgetItem* item = currentItem();
    return item ? item->text() : QString();
}

} // namespace setzaiko
