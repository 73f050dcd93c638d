#include "ui/DriveList.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

namespace setzaiko {

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    setDrives(mountedRoots(), QDir::currentPath());
    connect(this, &QComboBox::activated, this, [this](int) { emit driveChanged(drive()); });
}

QStringList DriveList::mountedRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && !roots.contains(volume.rootPath())) {
            roots.append(volume.rootPath());
        }
    }
    roots.sort(Qt::CaseInsensitive);
    return roots;
}

void DriveList::setDrives(const QStringList& roots, const QString& currentPath)
{
    const QSignalBlocker blocker(this);
    clear();
    int current = -1;
    int longest = -1;
    for (int i = 0; i < roots.size(); ++i) {
        addItem(QDir::toNativeSeparators(roots[i]), roots[i]);
        // The volume of a path is the one with the longest root that contains it.
        const QString root = roots[i].endsWith(u'/') ? roots[i] : roots[i] + u'/';
        if ((currentPath + u'/').startsWith(root) && root.size() > longest) {
            longest = static_cast<int>(root.size());
            current = i;
        }
    }
    setCurrentIndex(std::max(current, 0));
}

QString DriveList::drive() const
{
    return currentData().toString();
}

} // namespace setzaiko
