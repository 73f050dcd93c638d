#pragma once

#include <QListWidget>

namespace setzaiko {

// A directory list box: the open directory's path from the root down, then its
// sub-directories. A double-click opens the directory under the pointer; a single click only
// reports itself, the open directory staying as it is.
class DirectoryList : public QListWidget
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

private:
    void fill();

    QString m_path;
};

} // namespace setzaiko
