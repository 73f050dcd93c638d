#pragma once

#include "ui/ChoiceList.h"

namespace setzaiko {

// The workbooks of one directory: the files matching a name filter of a workbook format
// (*.xls, *.xlsx, *.xlsm), whatever the case of the extension, sorted by name; hidden files are
// left out.
class FileList : public ChoiceList
{
    Q_OBJECT

public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    // The highlighted file's name, or the empty text.
    QString fileName() const;

signals:
    // A file was picked (see ChoiceList).
    void fileClicked();
    // A file was opened by a double click or Enter.
    void fileOpened();

private:
    QString m_path;
};

} // namespace setzaiko
