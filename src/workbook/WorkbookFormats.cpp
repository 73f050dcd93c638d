#include "workbook/WorkbookFormats.h"

#include "workbook/xls/XlsWorkbook.h"
#include "workbook/xlsx/XlsxWorkbook.h"

namespace setzaiko {

const std::vector<WorkbookFormat>& workbookFormats()
{
    // One entry a format, each from its reader's folder.
    static const std::vector<WorkbookFormat> formats{
        xls::workbookFormat(),
        xlsx::workbookFormat(),
    };
    return formats;
}

const WorkbookFormat* recogniseFormat(QByteArrayView start)
{
    for (const WorkbookFormat& format : workbookFormats()) {
        if (format.recognises(start)) {
            return &format;
        }
    }
    return nullptr;
}

QStringList workbookNameFilters()
{
    QStringList filters;
    for (const WorkbookFormat& format : workbookFormats()) {
        filters += format.nameFilters;
    }
    return filters;
}

} // namespace setzaiko
