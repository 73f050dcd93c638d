#pragma once

#include "common/Cp932Encoder.h"
#include "component/ComponentGrid.h"
#include "component/ComponentListing.h"
#include "inquiry/SetProductSearch.h"
#include "master/ProductMaster.h"
#include "master/StockMaster.h"

#include <QDateTime>
#include <QStringList>

#include <array>
#include <optional>

namespace setzaiko::cli {

// The component window without a screen: the same labels, grid and button states, changed by
// the same engine calls in the same order, so that the command line shows what the window
// would.
class ComponentSession : public ComponentGrid
{
public:
    ComponentSession(const ProductMaster& products, const StockMaster& stocks,
                     const SetProductSelection& selection, const QString& directory);

    void showComponents();                  // 構成商品を表示
    void recalculate(const QString& entry); // 再計算
    // 在庫状況CSV出力: the written file's path and count message, or nullopt after a failure.
    std::optional<std::pair<QString, QString>> exportCsv(const QDateTime& stamp,
                                                         const Cp932Encoder& encoder);

    void setText(int row, int column, const QString& text) override;
    void setColours(int, int, const CellColours&) override {}

    const QString& cell(int row, int column) const;
    int lastListedRow() const; // the last row whose column 0 is not empty

    std::int16_t listStatus() const { return m_listStatus; }
    bool calcEnabled() const { return m_calcEnabled; }
    bool csvEnabled() const { return m_csvEnabled; }
    bool orderRefused() const { return m_orderRefused; }
    bool runtimeFailure() const { return m_runtimeFailure; }
    const QStringList& boxes() const { return m_boxes; }
    const QString& messageLine() const { return m_lblMsg; }
    const QString& knousu() const { return m_lblKnousu; }

private:
    void applyListing(const ComponentListing& listing);

    static constexpr int gridRows = 101;

    const ProductMaster& m_products;
    const StockMaster& m_stocks;
    SetProductSelection m_selection;
    QString m_lblDir;
    std::array<std::array<QString, ComponentRow::columnCount>, gridRows> m_grid;
    QString m_lblMsg;
    QString m_lblKnousu = QStringLiteral("0");
    QString m_lblRow = QStringLiteral("0");
    QString m_lblJsuryo;
    std::int16_t m_listStatus = 0;
    bool m_calcEnabled = false;
    bool m_csvEnabled = false;
    bool m_orderRefused = false;
    bool m_runtimeFailure = false;
    QStringList m_boxes;
};

} // namespace setzaiko::cli
