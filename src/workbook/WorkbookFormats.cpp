#include "workbook/WorkbookFormats.h"

#include "workbook/xls/XlsWorkbook.h"
#include "workbook/xlsx/XlsxWorkbook.h"

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

// A compound file's signature, and the local header and end record a zip archive starts with
// (an archive without entries is all end record).
constexpr QByteArrayView compoundFileSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr QByteArrayView zipLocalHeader("PK\x03\x04", 4);
constexpr QByteArrayView zipEndRecord("PK\x05\x06", 4);

bool isCompoundFile(QByteArrayView start)
{
    return start.startsWith(compoundFileSignature);
}

bool isZipArchive(QByteArrayView start)
{
    return start.startsWith(zipLocalHeader) || start.startsWith(zipEndRecord);
}

std::unique_ptr<Workbook> openXls(const QString& path)
{
    return xls::XlsWorkbook::openFile(path);
}

std::unique_ptr<Workbook> openXlsx(const QString& path)
{
    return xlsx::XlsxWorkbook::openFile(path);
}

} // namespace

const std::vector<WorkbookFormat>& workbookFormats()
{
    static const std::vector<WorkbookFormat> formats{
        {u"Excel 97-2003 workbook"_s,
         u"Excel 97-2003 形式のブック"_s,
         {u"*.xls"_s},
         isCompoundFile,
         openXls},
        {u"Excel 2007 or later workbook"_s,
         u"Excel 2007 以降の形式のブック"_s,
         {u"*.xlsx"_s, u"*.xlsm"_s},
         isZipArchive,
         openXlsx},
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
