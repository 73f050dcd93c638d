#include "workbook/xlsx/XlsxFixtures.h"

#include "workbook/xls/WorkbookFixtures.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

namespace {

QStringList xlsxIn(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& info :
         QDir(folder).entryInfoList({u"*.xlsx"_s}, QDir::Files, QDir::Name)) {
        files.append(info.filePath());
    }
    return files;
}

} // namespace

QStringList committedXlsxWorkbooks()
{
    const QString data = QStringLiteral(SETZAIKO_TEST_DATA);
    return xlsxIn(data + u"/xls"_s) + xlsxIn(data + u"/xlsx"_s) +
           xlsxIn(QStringLiteral(SETZAIKO_EXAMPLES));
}

QStringList generatedXlsxWorkbooks()
{
    return xlsxIn(generatedFolder() + u"/xlsx"_s);
}

QStringList hostilePackages()
{
    return xlsxIn(generatedFolder() + u"/xlsx/hostile"_s);
}

QString xlsTwinOf(const QString& xlsxPath)
{
    const QFileInfo info(xlsxPath);
    QString twin = info.path() + u'/' + info.completeBaseName() + u".xls"_s;
    if (info.path() == generatedFolder() + u"/xlsx"_s) {
        twin = generatedFolder() + u'/' + info.completeBaseName() + u".xls"_s;
    }
    return QFileInfo::exists(twin) ? twin : QString();
}

} // namespace setzaiko::testing
