#pragma once

#include "ui/ChoiceList.h"

namespace setzaiko {

// A directory list box: the open directory's path from the root down, then its sub-directories
// that are not hidden. A double click or Enter opens the highlighted directory, or reports that
// it cannot be read; a pick (see ChoiceList) only reports itself, the open directory staying as
// it is.
class DirectoryList : public ChoiceList
{
    Q_OBJECT

public:
    explicit DirectoryList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    // Opens a directory; false, and nothing changes, when it cannot be read.
    bool setPath(const QString& path);

signals:
    void pathChanged(const QString& path);
    void listClicked();
    // A directory of the list could not be opened (not readable, or gone); the open one stays.
    void openRefused(const QString& path);

private:
    void fill();

    QString m_path;
};

} // namespace setzaiko
