#include "workbook/xls/WorkbookFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

namespace {

QStringList filesIn(const QString& folder, bool recursive)
{
    QStringList files;
    QDirIterator it(folder, {u"*"_s}, QDir::Files,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(u".xls"_s, Qt::CaseInsensitive)) {
            files.append(path);
        }
    }
    files.sort();
    return files;
}

} // namespace

QString generatedFolder()
{
    return QStringLiteral(SETZAIKO_GENERATED_DATA);
}

QStringList committedWorkbooks()
{
    return filesIn(QStringLiteral(SETZAIKO_TEST_DATA) + u"/xls"_s, false) +
           filesIn(QStringLiteral(SETZAIKO_EXAMPLES), false);
}

QStringList generatedWorkbooks()
{
    return filesIn(generatedFolder(), false);
}

QStringList refusedFiles()
{
    const QString data = QStringLiteral(SETZAIKO_TEST_DATA) + u"/xls/"_s;
    return filesIn(data + u"not-a-workbook"_s, true) + filesIn(data + u"regressions"_s, true) +
           filesIn(generatedFolder() + u"/damaged"_s, true);
}

QStringList expectedGeneratedNames()
{
    return {u"numbers.xls"_s,          u"dates1904.xls"_s,
            u"xlwt_formulas.xls"_s,    u"layout_ministream.xls"_s,
            u"layout_scattered.xls"_s, u"layout_4096.xls"_s,
            u"layout_difat.xls"_s,     u"strings.xls"_s,
            u"strings_plain.xls"_s,    u"masters.xls"_s};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

} // namespace setzaiko::testing
