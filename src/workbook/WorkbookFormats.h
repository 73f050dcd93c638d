#pragma once

#include "workbook/Workbook.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace setzaiko {

// One kind of workbook the program reads. Everything that names or tells the formats apart
// (the opener, the chooser's file list, the command line's help, the manual page's test) takes
// them from workbookFormats(), so a new format is one more entry there. Each reader's folder
// gives its entry (workbookFormat()) and adds its sources to the build (reader.cmake).
struct WorkbookFormat
{
    QString name;            // in English, as the help names it
    QString description;     // in Japanese
    QStringList nameFilters; // the chooser lists the files that match, whatever the case
    // Whether a file starting with these bytes (the first signatureLength, or all of a shorter
    // file) is of this format: the reader is chosen by content, never by name.
    bool (*recognises)(QByteArrayView start);
    // Opens a file of this format. Throws WorkbookError.
    std::unique_ptr<Workbook> (*open)(const QString& path);
};

// The bytes a format is recognised by.
inline constexpr int signatureLength = 8;

// Every format, in the order the help lists them.
const std::vector<WorkbookFormat>& workbookFormats();

// The format a file starting with these bytes is of, or nullptr for a file of another kind.
const WorkbookFormat* recogniseFormat(QByteArrayView start);

// Every format's name filters, in order.
QStringList workbookNameFilters();

} // namespace setzaiko
