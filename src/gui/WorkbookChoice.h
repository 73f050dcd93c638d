#pragma once

#include <QString>

namespace setzaiko {

// The workbook the chooser hands back: its path, its directory with a trailing separator, its
// file name, and the worksheets picked ("ALL", one name, or empty).
struct WorkbookChoice
{
    QString path;
    QString directory;
    QString fileName;
    QString worksheets;
};

} // namespace setzaiko
