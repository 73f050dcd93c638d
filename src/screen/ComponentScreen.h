#pragma once

#include "component/OrderPlan.h"
#include "component/SetAvailability.h"
#include "export/StockStatusCsv.h"
#include "inquiry/SetProduct.h"
#include "master/MasterData.h"
#include "screen/ComponentCells.h"
#include "screen/ScreenBox.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace setzaiko {

class ComponentScreenView;

// Which of the screen's four buttons can be pressed: show components, recalculate, export,
// back.
struct ComponentButtons
{
    bool list = true;
    bool recalculate = false;
    bool exportCsv = false;
    bool back = true;

    friend bool operator==(const ComponentButtons&, const ComponentButtons&) = default;
};

// The row a run-time failure left part-written: its first `written` cells are the failing
// step's, the cells after them show what they showed before, which is nothing where the row
// had never been written (`wasBlank`).
struct HalfWrittenRow
{
    int row = 0;
    int written = 0;
    bool wasBlank = false;

    friend bool operator==(const HalfWrittenRow&, const HalfWrittenRow&) = default;
};

// The component screen of one chosen set product, as data: the set product's texts, the list
// as it stands, the additional quantity, the accepted order, the message line, the button
// states and the boxes due. The component window renders it and forwards its buttons to it;
// the command line drives and prints it.
class ComponentScreen : public ScreenTable
{
public:
    static constexpr int capacity = 100;

    // setProduct is nullopt where the inquiry handed over a blank row.
    ComponentScreen(const MasterData& masters, std::optional<SetProduct> setProduct,
                    QString directory, ComponentScreenView* view = nullptr);

    // Lists the set product's components afresh.
    void listComponents();
    // Checks the order entry and plans it; returns how the step ended.
    OrderPlan::Outcome recalculate(const QString& entry);
    // Writes the stock status file of the figures the list shows; nullopt after a failure.
    std::optional<StockStatusExport> exportStockStatus(const QDateTime& stamp);

    const std::optional<SetProduct>& setProduct() const { return m_setProduct; }
    const QString& directory() const { return m_directory; }
    // The set product's code, name, stock (grouped digits) and unit, blank without one.
    QString setCodeText() const;
    QString setNameText() const;
    QString setStockText() const;
    QString setUnitText() const;

    // The rows ever written, from row 1, each with the figures its cells show.
    const std::vector<ComponentRow>& rows() const { return m_rows; }
    int shownRows() const { return static_cast<int>(m_rows.size()); }
    const std::optional<HalfWrittenRow>& halfWrittenRow() const { return m_halfWritten; }
    // What cell (row from 1, column) shows, blank where nothing was written.
    QString cellText(int row, int column) const override;
    // The role of the row's shortage cell; nullopt where that cell was never written.
    std::optional<CellRole> shortageRole(int row) const;
    std::optional<CellRole> cellRole(int row, int column) const override;
    // A row whose stock allows the fewest sets of the last complete listing stands out.
    QString rowEmphasis(int row) const override;
    bool limitsAddable(int row) const;
    // The codes of those rows, in list order, each once; none without a complete listing.
    const std::vector<QString>& limitingCodes() const { return m_limitingCodes; }
    int tableRows() const override { return capacity; }
    int tableColumns() const override { return componentcolumn::count; }

    // The rows the last listing that ran to its end listed: what the export writes.
    int listedRows() const { return m_listedRows; }
    std::int32_t addableSets() const { return m_addableSets; }
    QString addableText() const;
    const std::optional<std::int32_t>& acceptedOrder() const { return m_acceptedOrder; }
    // The order whose shipments and shortages the list shows, 0 for none.
    std::int32_t shownOrder() const { return m_shownOrder; }
    ListStatus listStatus() const { return m_listStatus; }
    const QString& messageLine() const { return m_messageLine; }
    ComponentButtons buttons() const;
    // Whether an export may run now: after a complete listing, and not after a failed export.
    bool mayExport() const;

    const std::vector<ScreenBox>& pendingBoxes() const { return m_boxes; }
    std::vector<ScreenBox> takeBoxes();

    // What the export writes: the set product, the order the list shows and its listed rows.
    StockStatus stockStatus() const;

private:
    void showListing(const SetAvailability& listing);
    // order is the one whose shipments the rows carry, 0 for a listing.
    void showRows(const std::vector<ComponentRow>& rows, std::int32_t order);
    void showRow(const ComponentRow& row);
    void due(QString text, bool beep, QString details = {});

    const MasterData& m_masters;
    std::optional<SetProduct> m_setProduct;
    QString m_directory;
    ComponentScreenView* m_view;

    std::vector<ComponentRow> m_rows;
    // The rows (from 1) that decide the additional quantity of the last listing, and their
    // codes; empty unless that listing was complete.
    std::vector<int> m_limitingRows;
    std::vector<QString> m_limitingCodes;
    std::optional<HalfWrittenRow> m_halfWritten;
    int m_listedRows = 0;
    std::int32_t m_addableSets = 0;
    std::optional<std::int32_t> m_acceptedOrder;
    // The order whose shipments and shortages the list shows: a planned order, or one the
    // set's own stock covers (its plain listing); 0 after 構成商品を表示. It differs from the
    // accepted order where a refused or failed entry left the list as it was or the components
    // were listed afresh: the export writes this one beside the list's figures.
    std::int32_t m_shownOrder = 0;
    ListStatus m_listStatus = ListStatus::Complete;
    QString m_messageLine;
    bool m_listedComplete = false; // a complete listing opened the plan and the export
    bool m_exporting = false;
    bool m_exportFailed = false; // only 戻る leads on
    std::vector<ScreenBox> m_boxes;
};

} // namespace setzaiko
