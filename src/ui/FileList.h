#pragma once

#include <QListWidget>

namespace setzaiko {

// The workbooks of one directory: the files matching *.xls, *.xlsx or *.xlsm, whatever the case
// of the extension, sorted by name.
class FileList : public QListWidget
{
    Q_OBJECT

public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    // The file name under the selection, or the empty text.
    QString fileName() const;

signals:
    void fileClicked();

private:
    QString m_path;
};

} // namespace setzaiko
