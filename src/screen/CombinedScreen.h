#pragma once

#include "component/CombinedOrder.h"
#include "export/CombinedOrderCsv.h"
#include "inquiry/SetProduct.h"
#include "master/MasterData.h"
#include "screen/ScreenBox.h"
#include "screen/ScreenTable.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace setzaiko {

// What a screen of the combined order is told while a step runs.
class CombinedScreenView
{
public:
    virtual ~CombinedScreenView() = default;

    // A long step starts: the state as it stands should be on screen while it runs.
    virtual void working() = 0;
    // Boxes are due: the state as it stands goes on screen, then the pending boxes, in order.
    virtual void boxesDue() = 0;
};

// Which buttons can be pressed: add, change the quantity, remove, export, back.
struct CombinedButtons
{
    bool add = true;
    bool change = false;
    bool remove = false;
    bool exportCsv = false;
    bool back = true;

    friend bool operator==(const CombinedButtons&, const CombinedButtons&) = default;
};

class CombinedScreen;

// The list of the chosen set products: No., code, name, stock, order, sets to build, and
// whether its part is met alone and together with the others.
class CombinedSetsTable : public ScreenTable
{
public:
    static constexpr int columnCount = 8;
    explicit CombinedSetsTable(const CombinedScreen& screen) : m_screen(screen) {}
    int tableRows() const override;
    int tableColumns() const override { return columnCount; }
    QString cellText(int row, int column) const override;
    std::optional<CellRole> cellRole(int row, int column) const override;
    void changed() const { notifyTableChanged(); }

private:
    const CombinedScreen& m_screen;
};

// The components the chosen set products need together: No., name, code, stock, unit, need,
// shipment, shortage.
class CombinedComponentsTable : public ScreenTable
{
public:
    static constexpr int columnCount = 8;
    explicit CombinedComponentsTable(const CombinedScreen& screen) : m_screen(screen) {}
    int tableRows() const override;
    int tableColumns() const override { return columnCount; }
    QString cellText(int row, int column) const override;
    std::optional<CellRole> cellRole(int row, int column) const override;
    void changed() const { notifyTableChanged(); }

private:
    const CombinedScreen& m_screen;
};

// An order of several set products, as data: the chosen set products with their quantities,
// what their components need together, the message line, the button states and the boxes
// due. Its window renders it; the command line prints it.
class CombinedScreen
{
public:
    static constexpr int capacity = 100;

    struct Choice
    {
        SetProduct setProduct;
        std::int32_t order = 0;
    };

    CombinedScreen(const MasterData& masters, QString directory,
                   CombinedScreenView* view = nullptr);

    // Adds the set product with the quantity entry, or adds the quantity to its row where it
    // is listed already; false, with a box due, where the entry is refused or the set
    // product cannot be planned, and the list stays as it was.
    bool addSet(const std::optional<SetProduct>& setProduct, const QString& entry);
    // Sets the quantity of the chosen row (from 1); false as addSet.
    bool changeQuantity(int row, const QString& entry);
    bool removeSet(int row);
    // The row (from 1) the change and remove buttons act on.
    void selectRow(int row) { m_selectedRow = row; }
    int selectedRow() const { return m_selectedRow; }

    // Writes the combined file of what the lists show; nullopt after a failure.
    std::optional<CombinedOrderExport> exportCombined(const QDateTime& stamp);

    const std::vector<Choice>& choices() const { return m_choices; }
    const CombinedOrder& plan() const { return m_plan; }
    const QString& directory() const { return m_directory; }
    const QString& messageLine() const { return m_messageLine; }
    CombinedButtons buttons() const;
    CombinedSetsTable& setsTable() { return m_setsTable; }
    CombinedComponentsTable& componentsTable() { return m_componentsTable; }
    const CombinedSetsTable& setsTable() const { return m_setsTable; }
    const CombinedComponentsTable& componentsTable() const { return m_componentsTable; }

    const std::vector<ScreenBox>& pendingBoxes() const { return m_boxes; }
    std::vector<ScreenBox> takeBoxes();

private:
    // Plans the choices; on success they become the screen's, else a box tells why.
    bool replan(std::vector<Choice> choices);
    // Why the lists need a look: a set met alone but not together, or any shortage.
    QString planMessage() const;
    // The entry as an order, or nullopt with its box due.
    std::optional<std::int32_t> acceptedEntry(const QString& entry);
    void due(QString text, bool beep, QString details = {});

    const MasterData& m_masters;
    QString m_directory;
    CombinedScreenView* m_view;
    std::vector<Choice> m_choices;
    CombinedOrder m_plan;
    int m_selectedRow = 1;
    QString m_messageLine;
    bool m_exporting = false;
    std::vector<ScreenBox> m_boxes;
    CombinedSetsTable m_setsTable{*this};
    CombinedComponentsTable m_componentsTable{*this};
};

} // namespace setzaiko
