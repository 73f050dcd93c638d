#include "support/TestWorkbooks.h"

#include <QProcess>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

bool writeWorkbook(const QString& path, const QString& sheets, QString* error)
{
    const QString script = uR"(
import sys, xlwt
book = xlwt.Workbook(encoding='utf-8')
for sheet_name, rows in %1:
    sheet = book.add_sheet(sheet_name)
    for r, row in enumerate(rows):
        for c, value in enumerate(row):
            if value is not None:
                sheet.write(r, c, value)
book.save(sys.argv[1])
)"_s.arg(sheets);
    QProcess python;
    python.start(u"/usr/bin/python3"_s, {u"-c"_s, script, path});
    const bool ok = python.waitForFinished(60000) && python.exitStatus() == QProcess::NormalExit &&
                    python.exitCode() == 0;
    if (!ok && error) {
        *error = QString::fromUtf8(python.readAllStandardError());
    }
    return ok;
}

QString validSheets()
{
    return uR"([
    ('商品マスタ', [['セット構成'], ['○', 'S1', 'a', 'b', 'c', 'd', 'P1', 'e', 2, 'f'],
                   [None, 'S1', 'a', 'b', 'c', 'd', 'P2', 'e', '1,500', 'f']]),
    ('在庫マスタ', [['○', 'P1', '緑茶', '袋', '', 120, 0, ''],
                   [None, 'P2', '湯呑', '個', '', 30, 0, ''],
                   [None, 'S1', 'セット', '箱', '1', 5, 0, 'x']])])"_s;
}

} // namespace setzaiko::testing
