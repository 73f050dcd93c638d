// Usage: xls_seed_damager OUTPUT_FOLDER WORKBOOK...
// Writes every damage the reader tests know that fits each workbook, and every rewrite of its
// worksheet entries (duplicate and swapped master sheets), as
// OUTPUT_FOLDER/<workbook>-<damage>.xls, to start the fuzzers near the reader's checks and the
// import run's choice of sheets.

#include "support/CompoundFileImage.h"
#include "support/SheetEntryEdit.h"
#include "support/WorkbookDamage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace setzaiko::testing;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3) {
        std::fputs("usage: xls_seed_damager OUTPUT_FOLDER WORKBOOK...\n", stderr);
        return 64;
    }
    QDir output(arguments[1]);
    output.mkpath(QStringLiteral("."));
    std::vector<WorkbookDamage> damages = workbookDamages();
    for (const SheetEntryEdit& edit : sheetEntryEdits()) {
        damages.push_back({edit.name, edit.mustFail,
                           [edit](const QByteArray& file) { return edit.apply(file); }});
    }
    int written = 0;
    for (const QString& path : arguments.mid(2)) {
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = in.readAll();
        for (const WorkbookDamage& damage : damages) {
            QByteArray damaged;
            try {
                damaged = damage.apply(bytes);
            } catch (const ImageError&) {
                continue;
            }
            QFile out(output.filePath(QFileInfo(path).completeBaseName() + u'-' + damage.name +
                                      QStringLiteral(".xls")));
            if (!out.open(QIODevice::WriteOnly) || out.write(damaged) != damaged.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
                return 1;
            }
            ++written;
        }
    }
    std::printf("%d damaged seeds\n", written);
    return 0;
}
