#pragma once

#include "inquiry/SetProduct.h"
#include "inquiry/SetProductSearch.h"
#include "master/StockMaster.h"
#include "screen/ScreenBox.h"
#include "screen/ScreenTable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace setzaiko {

// What a screen of the inquiry model is told while a search runs.
class InquiryScreenView
{
public:
    virtual ~InquiryScreenView() = default;

    // Boxes are due: the state as it stands goes on screen, then the pending boxes, in order.
    virtual void boxesDue() = 0;
};

// Which of the inquiry's buttons can be pressed: search, details, back, combined order.
struct InquiryButtons
{
    bool search = true;
    bool details = false;
    bool back = true;
    bool combined = true;

    friend bool operator==(const InquiryButtons&, const InquiryButtons&) = default;
};

// The set product inquiry, as data: the list of set products a search found, the message
// line, the selection handed to the component screen, the button states and the boxes due.
// The inquiry window renders it; the command line prints its list.
class InquiryScreen : public ScreenTable
{
public:
    static constexpr int capacity = listCapacity;
    // One column of the list: its heading, its width in twips, whether a cell of it picks its
    // row (the columns holding the set product's data), and what a listed row shows in it.
    struct Column
    {
        QString heading;
        int widthTwips = 0;
        bool picksRow = false;
        QString (*text)(int row, const FoundSetProduct& found) = nullptr;
    };
    // The list's columns, left to right: a new column is one more entry here.
    static const std::vector<Column>& columns();
    static int columnCount() { return static_cast<int>(columns().size()); }
    static QStringList headings();

    explicit InquiryScreen(InquiryScreenView* view = nullptr) : m_view(view) {}

    // 検索: lists the set products whose code and name contain the texts, and selects row 1.
    void search(const StockMaster& stocks, const QString& codeText, const QString& nameText);

    // The rows the last search listed.
    int listedRows() const { return static_cast<int>(m_found.size()); }
    // What cell (row from 1, column) shows; blank below the list.
    QString cellText(int row, int column) const override;
    int tableRows() const override { return capacity; }
    int tableColumns() const override { return columnCount(); }
    QStringList rowTexts(int row) const;
    const QString& messageLine() const { return m_messageLine; }
    InquiryButtons buttons() const;

    // Whether a cell of the column picks its row.
    static bool picksRow(int column)
    {
        return column >= 0 && column < columnCount() &&
               columns()[static_cast<std::size_t>(column)].picksRow;
    }
    // Picks a row (from 1): its set product, or none below the list.
    void selectRow(int row);
    int selectedRow() const { return m_selectedRow; }
    // The set product of the row last picked; nullopt for a blank row.
    const std::optional<SetProduct>& selection() const { return m_selection; }

    // 在庫詳細 opened the component screen; it ended.
    void detailsOpened() { m_detailsOpen = true; }
    void detailsClosed() { m_detailsOpen = false; }
    // まとめ照会 opened the combined order; it ended. The inquiry stays usable to pick sets.
    void combinedOpened() { m_combinedOpen = true; }
    void combinedClosed() { m_combinedOpen = false; }

    std::vector<ScreenBox> takeBoxes();

private:
    void due(QString text, bool beep);

    InquiryScreenView* m_view;
    std::vector<FoundSetProduct> m_found;
    QString m_messageLine;
    bool m_searched = false; // a search opened 在庫詳細
    bool m_detailsOpen = false;
    bool m_combinedOpen = false;
    int m_selectedRow = 1;
    std::optional<SetProduct> m_selection;
    std::vector<ScreenBox> m_boxes;
};

} // namespace setzaiko
