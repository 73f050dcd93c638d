#include "ui/DirectoryList.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {
constexpr int pathRole = Qt::UserRole;
}

DirectoryList::DirectoryList(QWidget* parent) : ChoiceList(parent)
{
    setPath(QDir::currentPath());
    connect(this, &ChoiceList::itemOpened, this, [this](QListWidgetItem* item) {
        const QString path = item->data(pathRole).toString();
        if (!setPath(path)) {
            emit openRefused(path);
        }
    });
    connect(this, &ChoiceList::itemPicked, this, &DirectoryList::listClicked);
}

bool DirectoryList::setPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir() || !info.isReadable() || !QDir(path).exists()) {
        return false;
    }
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        return false;
    }
    const bool changed = canonical != m_path;
    m_path = canonical;
    refill([this] { fill(); });
    if (changed) {
        emit pathChanged(m_path);
    }
    return true;
}

void DirectoryList::fill()
{
    // The chain of directories from the root to the open one, each a step further in.
    QStringList chain;
    for (QDir dir(m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) {
            break;
        }
    }
    int depth = 0;
    for (const QString& directory : chain) {
        const QString name = QDir(directory).isRoot() ? QDir::toNativeSeparators(directory)
                                                      : QFileInfo(directory).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, u' ') + name, this);
        item->setData(pathRole, directory);
        ++depth;
    }
    if (QListWidgetItem* open = item(count() - 1)) {
        QFont font = open->font();
        font.setBold(true);
        open->setFont(font);
    }
    const QFileInfoList children = QDir(m_path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                              QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& child : children) {
        auto* item = new QListWidgetItem(QString(depth * 2, u' ') + child.fileName(), this);
        item->setData(pathRole, child.absoluteFilePath());
    }
}

} // namespace setzaiko
