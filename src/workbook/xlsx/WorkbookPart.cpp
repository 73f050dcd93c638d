#include "workbook/xlsx/WorkbookPart.h"

#include "workbook/xlsx/RichText.h"
#include "workbook/xlsx/XlsxError.h"
#include "workbook/xlsx/XmlReader.h"

namespace setzaiko::xlsx {

namespace {

class WorkbookHandler : public XmlHandler
{
public:
    void startElement(const XmlName& name, const char** attributes) override
    {
        ++m_depth;
        if (m_depth == 1) {
            if (!name.is(XmlNamespace::Spreadsheet, "workbook")) {
                fail(WorkbookFailure::NotAWorkbook,
                     "the package's main part is no spreadsheet workbook");
            }
        } else if (m_depth == 2 && name.is(XmlNamespace::Spreadsheet, "workbookPr")) {
            const char* date1904 = attribute(attributes, XmlNamespace::None, "date1904");
            m_part.dates1904 = date1904 && (std::string_view(date1904) == "1" ||
                                            std::string_view(date1904) == "true");
        } else if (m_depth == 2 && name.is(XmlNamespace::Spreadsheet, "sheets")) {
            m_inSheets = true;
        } else if (m_depth == 3 && m_inSheets && name.is(XmlNamespace::Spreadsheet, "sheet")) {
            const char* sheetName = attribute(attributes, XmlNamespace::None, "name");
            const char* id = attribute(attributes, XmlNamespace::OfficeRelationships, "id");
            if (!sheetName || !id) {
                fail("a sheet of the workbook lacks its name or relationship");
            }
            m_part.sheets.push_back({textFromUtf8(sheetName), QString::fromUtf8(id)});
        }
    }

    void endElement(const XmlName&) override
    {
        if (m_depth == 2) {
            m_inSheets = false;
        }
        --m_depth;
    }

    void characters(std::string_view) override {}

    WorkbookPart take() { return std::move(m_part); }

private:
    int m_depth = 0;
    bool m_inSheets = false;
    WorkbookPart m_part;
};

} // namespace

WorkbookPart readWorkbookPart(ZipArchive& archive, const ZipEntry& entry)
{
    WorkbookHandler handler;
    parseXml(archive, entry, handler);
    return handler.take();
}

} // namespace setzaiko::xlsx
