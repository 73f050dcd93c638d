#include "ui/Layout.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::layout {

namespace {

QFont fontOf(const QStringList& families, double points, bool bold, bool italic)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

QFont gothic(double points, bool bold, bool italic)
{
    return fontOf({u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"IPAGothic"_s, u"Noto Sans CJK JP"_s},
                  points, bold, italic);
}

QFont proportionalGothic(double points)
{
    return fontOf({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"Noto Sans CJK JP"_s},
                  points, false, false);
}

} // namespace setzaiko::layout
