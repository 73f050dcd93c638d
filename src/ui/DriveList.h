#pragma once

#include <QComboBox>
#include <QStringList>

namespace setzaiko {

// The volumes of this machine, one per line (drive letters on Windows, mount points
// elsewhere), showing the volume of the current directory at first.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    // Replaces the listed volumes (their root paths); the first that holds currentPath is shown.
    void setDrives(const QStringList& roots, const QString& currentPath);
    QString drive() const;

    static QStringList mountedRoots();

signals:
    // The user chose another volume.
    void driveChanged(const QString& root);
};

} // namespace setzaiko
