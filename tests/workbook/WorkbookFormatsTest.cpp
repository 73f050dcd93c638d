#include "workbook/WorkbookFormats.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

namespace {

TEST(WorkbookFormats, AFileIsRecognisedByItsFirstBytes)
{
    struct Case
    {
        const char* name;
        QByteArray start;
        const char* filter; // the first name filter of the format recognised, or nullptr
    };
    const Case cases[] = {
        {"compound file", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), "*.xls"},
        {"zip archive with entries", QByteArray("PK\x03\x04\x14\x00\x00\x00", 8), "*.xlsx"},
        {"zip archive without entries", QByteArray("PK\x05\x06\x00\x00\x00\x00", 8), "*.xlsx"},
        {"compound file signature cut short", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A", 7),
         nullptr},
        {"other zip record", QByteArray("PK\x01\x02\x14\x00\x00\x00", 8), nullptr},
        {"text", QByteArray("a;b;c\r\n1"), nullptr},
        {"empty file", QByteArray(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WorkbookFormat* format = recogniseFormat(c.start);
        ASSERT_EQ(format != nullptr, c.filter != nullptr);
        if (format) {
            EXPECT_EQ(format->nameFilters.front(), QString::fromLatin1(c.filter));
        }
    }
}

TEST(WorkbookFormats, NameFiltersAndTheFailureSentenceFollowTheList)
{
    EXPECT_EQ(workbookNameFilters(), (QStringList{u"*.xls"_s, u"*.xlsx"_s, u"*.xlsm"_s}));
    EXPECT_EQ(failureSentence(WorkbookFailure::NotAWorkbook),
              u"Excel のブック（.xls・.xlsx・.xlsm）ではありません。"_s);
}

// The manual pages are written by hand: each must name every format of the list.
TEST(WorkbookFormats, ManualPagesNameEveryFormat)
{
    for (const QString& page : {u"setzaiko-cli.1"_s, u"setzaiko.1"_s}) {
        SCOPED_TRACE(page.toStdString());
        QFile file(QStringLiteral(SETZAIKO_MAN_PAGES) + u'/' + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s);
        for (const WorkbookFormat& format : workbookFormats()) {
            const QString name = QString(format.name).remove(u" workbook"_s);
            EXPECT_TRUE(text.contains(name)) << name.toStdString();
            for (const QString& filter : format.nameFilters) {
                EXPECT_TRUE(text.contains(filter)) << filter.toStdString();
            }
        }
    }
}

} // namespace
