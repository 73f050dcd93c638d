#include "workbook/WorkbookFailure.h"

#include "workbook/Workbook.h"
#include "workbook/WorkbookFormats.h"

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

QString failureSentence(WorkbookFailure kind)
{
    switch (kind) {
    case WorkbookFailure::NoSuchFile:
        return QStringLiteral(u"指定されたファイルが見つかりません。");
    case WorkbookFailure::NotAFile:
        return QStringLiteral(u"指定されたパスはファイルではありません（フォルダーなど）。");
    case WorkbookFailure::Unreadable:
        return QStringLiteral(u"ファイルを開けないか、読み込めません。");
    case WorkbookFailure::NotAWorkbook: {
        QStringList extensions;
        for (const QString& filter : workbookNameFilters()) {
            extensions.append(filter.mid(1)); // "*.xls" gives ".xls"
        }
        return u"Excel のブック（"_s + extensions.join(u'・') + u"）ではありません。"_s;
    }
    case WorkbookFailure::Encrypted:
        return QStringLiteral(u"パスワードで暗号化されたブックです。");
    case WorkbookFailure::OldFormat:
        return QStringLiteral(u"Excel 5.0/95 以前の形式のブックです。Excel 97-2003 形式か .xlsx "
                              u"形式で保存し直してください。");
    case WorkbookFailure::DuplicateSheet:
        return QStringLiteral(u"同じ名前のシートが二つあります。");
    case WorkbookFailure::NarrowSheet:
        return QStringLiteral(u"マスタのシートに必要な列がありません。");
    case WorkbookFailure::Damaged:
        break;
    }
    return QStringLiteral(u"ブックが壊れています。");
}

QString WorkbookError::cause() const
{
    const QString detail = QString::fromUtf8(what());
    const QString sentence = failureSentence(m_kind);
    return detail.isEmpty() ? sentence : sentence + u'\n' + detail;
}

} // namespace setzaiko
