#include "screen/InquiryScreen.h"

#include "common/NumberFormat.h"
#include "screen/InquiryTexts.h"

#include <exception>
#include <utility>

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

QString InquiryScreen::cellText(int row, int column) const
{
    if (row < 1 || row > listedRows()) {
        return {};
    }
    const FoundSetProduct& found = m_found[static_cast<std::size_t>(row - 1)];
    switch (column) {
    case 0:
        return formatNumber(row, formats::digits3);
    case 1:
        return found.product.name;
    case 2:
        return found.product.code;
    case 3:
        return formatNumber(found.product.stock, formats::grouped9);
    case 4:
        return found.product.unit;
    case 5:
        return found.remarks;
    default:
        return {};
    }
}

QStringList InquiryScreen::rowTexts(int row) const
{
    QStringList texts;
    for (int column = 0; column < columnCount; ++column) {
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
