#pragma once

#include "component/ComponentListing.h"
#include "component/OrderSimulation.h"
#include "component/ShownComponentRow.h"
#include "export/StockStatusCsv.h"
#include "inquiry/SetProduct.h"
#include "master/MasterData.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace setzaiko {

class ComponentSessionView;

// A message box the session has made due: its text, whether a beep goes before it, and the
// cause of a failure behind its details button (empty for none).
struct SessionBox
{
    QString text;
    bool beep = false;
    QString details = {};

    friend bool operator==(const SessionBox&, const SessionBox&) = default;
};

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

// The component screen of one chosen set product, without the screen: the list as it stands,
// the additional quantity, the accepted order, the list status, the message line, the button
// states and the boxes due. The component window renders it and forwards its buttons to it;
// the command line drives and prints it.
class ComponentSession
{
public:
    static constexpr int capacity = 100;

    // setProduct is nullopt where the inquiry handed over a blank row.
    ComponentSession(const MasterData& masters, std::optional<SetProduct> setProduct,
                     QString directory, ComponentSessionView* view = nullptr);

    // Lists the set product's components afresh.
    void listComponents();
    // Checks the order entry and simulates it; returns how the step ended.
    OrderSimulation::Outcome recalculate(const QString& entry);
    // Writes the stock status file from what the list shows; nullopt after a failure.
    std::optional<StockStatusExport> exportStockStatus(const QDateTime& stamp);

    const std::optional<SetProduct>& setProduct() const { return m_setProduct; }
    const QString& directory() const { return m_directory; }
    // Row 1 to capacity of the list.
    const ShownComponentRow& row(int row) const;
    // The rows the last listing that ran to its end listed: what the export writes.
    int listedRows() const { return m_listedRows; }
    // The last row whose first cell was ever written.
    int lastShownRow() const;
    std::int32_t addableSets() const { return m_addableSets; }
    const std::optional<std::int32_t>& acceptedOrder() const { return m_acceptedOrder; }
    ListStatus listStatus() const { return m_listStatus; }
    const QString& messageLine() const { return m_messageLine; }
    const ComponentButtons& buttons() const { return m_buttons; }

    const std::vector<SessionBox>& pendingBoxes() const { return m_boxes; }
    std::vector<SessionBox> takeBoxes();

    // What the export writes, taken from the values the list shows.
    StockStatus stockStatus() const;

private:
    void showListing(const ComponentListing& listing);
    // order is the one whose shipments the rows carry, 0 for a listing.
    void showRows(const std::vector<ComponentRow>& rows, std::int32_t order);
    void enableAfterCompleteListing();
    void due(QString text, bool beep, QString details = {});

    const MasterData& m_masters;
    std::optional<SetProduct> m_setProduct;
    QString m_directory;
    ComponentSessionView* m_view;

    std::array<ShownComponentRow, capacity> m_rows;
    int m_listedRows = 0;
    std::int32_t m_addableSets = 0;
    std::optional<std::int32_t> m_acceptedOrder;
    // The order whose shipments and shortages the list shows: a simulated order, or one the
    // set's own stock covers (its plain listing); 0 after 構成商品を表示. It differs from the
    // accepted order where a refused or failed entry left the list as it was or the components
    // were listed afresh: the export writes this one beside the list's figures.
    std::int32_t m_shownOrder = 0;
    ListStatus m_listStatus = ListStatus::Complete;
    QString m_messageLine;
    ComponentButtons m_buttons;
    std::vector<SessionBox> m_boxes;
};

} // namespace setzaiko
