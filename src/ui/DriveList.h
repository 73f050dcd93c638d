#pragma once

#include <QComboBox>
#include <QStringList>

namespace setzaiko {

// A mounted volume as the system reports it.
struct MountedVolume
{
    QString rootPath;
    QString fileSystemType;
};

// The volumes a user opens, one per line: the drive letters on Windows; elsewhere the root,
// the home folder and the removable and network volumes, without the system's own mount
// points. The volume of the current directory is shown at first.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    // Replaces the listed volumes (their root paths); the one that holds currentPath most
    // closely is shown.
    void setDrives(const QStringList& roots, const QString& currentPath);
    QString drive() const;

    // The roots of the volumes of this machine that the list offers.
    static QStringList mountedRoots();
    // Of the given volumes, the roots the list offers besides the root and the home folder:
    // removable and network volumes, sorted.
    static QStringList userRoots(const QList<MountedVolume>& volumes, const QString& home);

signals:
    // The user chose another volume than the one shown.
    void driveChanged(const QString& root);
};

} // namespace setzaiko
