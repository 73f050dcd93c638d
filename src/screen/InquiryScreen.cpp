#include "screen/InquiryScreen.h"

#include "common/NumberFormat.h"
#include "screen/InquiryTexts.h"

#include <exception>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

void InquiryScreen::due(QString text, bool beep)
{
    m_boxes.push_back({std::move(text), beep});
    // What stands on screen while the box is open is the list as it is now.
    notifyTableChanged();
    if (m_view) {
        m_view->boxesDue();
    }
}

std::vector<ScreenBox> InquiryScreen::takeBoxes()
{
    return std::exchange(m_boxes, {});
}

void InquiryScreen::search(const StockMaster& stocks, const QString& codeText,
                           const QString& nameText)
{
    m_found.clear();
    m_messageLine.clear();
    const bool filtered = isFilteredSearch(codeText, nameText);
    try {
        SetProductSearchResult result = searchSetProducts(stocks, codeText, nameText, capacity);
        m_found = std::move(result.found);
        if (result.limitReached) {
            // The box comes first; the message line only once it was closed.
            due((filtered ? inquirytexts::limitBoxFiltered : inquirytexts::limitBoxAll).toString(),
                false);
            m_messageLine = inquirytexts::limitLine.toString();
        }
        m_searched = true;
        selectRow(1);
        notifyTableChanged();
    } catch (const std::exception&) {
        due((filtered ? inquirytexts::filterFailed : inquirytexts::searchFailed).toString(), true);
    }
}

const std::vector<InquiryScreen::Column>& InquiryScreen::columns()
{
    static const std::vector<Column> list = {
        {u"No."_s, 500, false,
         [](int row, const FoundSetProduct&) { return formatNumber(row, formats::digits3); }},
        {u"商品名"_s, 4300, true,
         [](int, const FoundSetProduct& found) { return found.product.name; }},
        {u"商品コード"_s, 2300, true,
         [](int, const FoundSetProduct& found) { return found.product.code; }},
        {u"在庫数"_s, 1100, true,
         [](int, const FoundSetProduct& found) {
             return formatNumber(found.product.stock, formats::grouped9);
         }},
        {u"単位"_s, 800, true,
         [](int, const FoundSetProduct& found) { return found.product.unit; }},
        {u"備考"_s, 3250, true, [](int, const FoundSetProduct& found) { return found.remarks; }},
        // A last column that stays empty.
        {u"\u3000\u3000"_s, 1000, false, [](int, const FoundSetProduct&) { return QString(); }},
    };
    return list;
}

QStringList InquiryScreen::headings()
{
    QStringList texts;
    for (const Column& column : columns()) {
        texts << column.heading;
    }
    return texts;
}

QString InquiryScreen::cellText(int row, int column) const
{
    if (row < 1 || row > listedRows() || column < 0 || column >= columnCount()) {
        return {};
    }
    return columns()[static_cast<std::size_t>(column)].text(
        row, m_found[static_cast<std::size_t>(row - 1)]);
}

QStringList InquiryScreen::rowTexts(int row) const
{
    QStringList texts;
    for (int column = 0; column < columnCount(); ++column) {
        texts << cellText(row, column);
    }
    return texts;
}

InquiryButtons InquiryScreen::buttons() const
{
    if (m_detailsOpen) {
        return {false, false, false, !m_combinedOpen};
    }
    return {true, m_searched, !m_combinedOpen, !m_combinedOpen};
}

void InquiryScreen::selectRow(int row)
{
    m_selectedRow = row;
    if (row >= 1 && row <= listedRows()) {
        m_selection = m_found[static_cast<std::size_t>(row - 1)].product;
    } else {
        m_selection.reset();
    }
}

} // namespace setzaiko
