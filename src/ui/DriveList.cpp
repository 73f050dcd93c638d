#include "ui/DriveList.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

bool isNetworkFileSystem(const QString& type)
{
    static const QStringList network = {u"nfs"_s,         u"nfs4"_s, u"cifs"_s,       u"smb3"_s,
                                        u"smbfs"_s,       u"afs"_s,  u"fuse.sshfs"_s, u"davfs"_s,
                                        u"fuse.davfs2"_s, u"9p"_s,   u"ncpfs"_s};
    return network.contains(type);
}

// Where desktops mount the media a user plugs in or asks for.
bool isUserMountPoint(const QString& root)
{
    static const QStringList places = {u"/media/"_s, u"/mnt/"_s, u"/run/media/"_s, u"/Volumes/"_s};
    return std::any_of(places.begin(), places.end(), [&root](const QString& place) {
        return root.startsWith(place) && root.size() > place.size();
    });
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    setDrives(mountedRoots(), QDir::currentPath());
    // A change of the shown volume, by mouse or keyboard; choosing the shown one again is none.
    connect(this, &QComboBox::currentIndexChanged, this,
            [this](int) { emit driveChanged(drive()); });
}

QStringList DriveList::userRoots(const QList<MountedVolume>& volumes, const QString& home)
{
    QStringList roots;
    for (const MountedVolume& volume : volumes) {
        const QString& root = volume.rootPath;
        const bool offered =
#ifdef Q_OS_WIN
            true;
#else
            isUserMountPoint(root) || isNetworkFileSystem(volume.fileSystemType);
#endif
        if (offered && root != home && root != u"/"_s && !roots.contains(root)) {
            roots.append(root);
        }
    }
    roots.sort(Qt::CaseInsensitive);
    return roots;
}

QStringList DriveList::mountedRoots()
{
    QList<MountedVolume> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid()) {
            volumes.append({volume.rootPath(), QString::fromUtf8(volume.fileSystemType())});
        }
    }
#ifdef Q_OS_WIN
    return userRoots(volumes, QString());
#else
    // The root first, then the home folder, then the media.
    QStringList roots{u"/"_s};
    if (const QString home = QDir::homePath(); home != roots.front()) {
        roots.append(home);
    }
    return roots + userRoots(volumes, QDir::homePath());
#endif
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
