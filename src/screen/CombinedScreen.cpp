#include "screen/CombinedScreen.h"

#include "common/CheckedInt.h"
#include "common/Cp932Encoder.h"
#include "common/NumberFormat.h"
#include "component/OrderPlan.h"
#include "export/ExportTexts.h"
#include "screen/CombinedTexts.h"
#include "screen/ComponentCells.h"
#include "screen/ComponentTexts.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace setzaiko {

namespace {

QString grouped(std::int32_t value)
{
    return formatNumber(value, formats::grouped9);
}

QString metText(bool met)
{
    return (met ? combinedtexts::met : combinedtexts::notMet).toString();
}

} // namespace

int CombinedSetsTable::tableRows() const
{
    return CombinedScreen::capacity;
}

QString CombinedSetsTable::cellText(int row, int column) const
{
    const auto& sets = m_screen.plan().sets;
    const auto& choices = m_screen.choices();
    if (row < 1 || row > static_cast<int>(choices.size()) || sets.size() != choices.size()) {
        return {};
    }
    const SetProduct& product = choices[static_cast<std::size_t>(row - 1)].setProduct;
    const CombinedSet& set = sets[static_cast<std::size_t>(row - 1)];
    switch (column) {
    case 0:
        return formatNumber(row, formats::digits3);
    case 1:
        return product.code;
    case 2:
        return product.name;
    case 3:
        return grouped(product.stock);
    case 4:
        return grouped(set.order);
    case 5:
        return grouped(set.toBuild);
    case 6:
        return metText(set.metAlone);
    case 7:
        return metText(set.metTogether);
    default:
        return {};
    }
}

std::optional<CellRole> CombinedSetsTable::cellRole(int row, int column) const
{
    if (column != 7 || cellText(row, column).isEmpty()) {
        return std::nullopt;
    }
    return m_screen.plan().sets[static_cast<std::size_t>(row - 1)].metTogether ? CellRole::Plain
                                                                               : CellRole::Shortage;
}

int CombinedComponentsTable::tableRows() const
{
    return CombinedScreen::capacity;
}

QString CombinedComponentsTable::cellText(int row, int column) const
{
    const auto& components = m_screen.plan().components;
    if (row < 1 || row > static_cast<int>(components.size())) {
        return {};
    }
    const CombinedComponent& component = components[static_cast<std::size_t>(row - 1)];
    switch (column) {
    case 0:
        return formatNumber(row, formats::digits3);
    case 1:
        return component.name;
    case 2:
        return component.code;
    case 3:
        return grouped(component.stock);
    case 4:
        return component.unit;
    case 5:
        return grouped(component.need);
    case 6:
        return grouped(component.shipment);
    case 7:
        return grouped(component.shortage);
    default:
        return {};
    }
}

std::optional<CellRole> CombinedComponentsTable::cellRole(int row, int column) const
{
    if (column != 7 || cellText(row, column).isEmpty()) {
        return std::nullopt;
    }
    return m_screen.plan().components[static_cast<std::size_t>(row - 1)].isShort()
               ? CellRole::Shortage
               : CellRole::Plain;
}

CombinedScreen::CombinedScreen(const MasterData& masters, QString directory,
                               CombinedScreenView* view)
    : m_masters(masters), m_directory(std::move(directory)), m_view(view)
{}

QString CombinedScreen::planMessage() const
{
    if (m_plan.hasConflict()) {
        return combinedtexts::conflictLine.toString();
    }
    if (std::any_of(m_plan.components.begin(), m_plan.components.end(),
                    [](const CombinedComponent& c) { return c.isShort(); })) {
        return combinedtexts::shortLine.toString();
    }
    return {};
}

CombinedButtons CombinedScreen::buttons() const
{
    if (m_exporting) {
        return {false, false, false, false, false};
    }
    const bool onRow = m_selectedRow >= 1 && m_selectedRow <= static_cast<int>(m_choices.size());
    return {true, onRow, onRow, !m_choices.empty(), true};
}

std::vector<ScreenBox> CombinedScreen::takeBoxes()
{
    return std::exchange(m_boxes, {});
}

void CombinedScreen::due(QString text, bool beep, QString details)
{
    m_boxes.push_back({std::move(text), beep, std::move(details)});
    if (m_view) {
        m_view->boxesDue();
    }
}

std::optional<std::int32_t> CombinedScreen::acceptedEntry(const QString& entry)
{
    const OrderEntry checked = checkOrderEntry(entry);
    if (checked.check == OrderEntry::Check::Accepted) {
        return checked.order;
    }
    due(refusalText(checked.check), checked.check == OrderEntry::Check::OutOfRange);
    return std::nullopt;
}

bool CombinedScreen::replan(std::vector<Choice> choices)
{
    std::vector<SetOrder> orders;
    for (const Choice& choice : choices) {
        orders.push_back({choice.setProduct.code, choice.setProduct.stock, choice.order});
    }
    CombinedOrder plan;
    try {
        plan = planCombinedOrder(orders, m_masters, capacity);
    } catch (const std::exception&) {
        due(componenttexts::simulationFailed.toString(), true);
        return false;
    }
    if (plan.outcome == CombinedOrder::Outcome::Incomplete) {
        due(listingMessage(plan.failedListing), false);
        return false;
    }
    if (plan.outcome == CombinedOrder::Outcome::Failed) {
        due((plan.failedSet >= 0 ? componenttexts::listingFailed : componenttexts::simulationFailed)
                .toString(),
            true);
        return false;
    }
    if (static_cast<int>(plan.components.size()) > capacity) {
        due(componenttexts::tooManyComponents.toString(), false);
        return false;
    }
    m_choices = std::move(choices);
    m_plan = std::move(plan);
    m_messageLine = planMessage();
    m_setsTable.changed();
    m_componentsTable.changed();
    return true;
}

bool CombinedScreen::addSet(const std::optional<SetProduct>& setProduct, const QString& entry)
{
    if (!setProduct) {
        due(combinedtexts::chooseSet.toString(), false);
        return false;
    }
    const std::optional<std::int32_t> order = acceptedEntry(entry);
    if (!order) {
        return false;
    }
    std::vector<Choice> choices = m_choices;
    const auto listed = std::find_if(choices.begin(), choices.end(), [&](const Choice& c) {
        return c.setProduct.code == setProduct->code;
    });
    const int row = static_cast<int>(listed - choices.begin()) + 1;
    if (listed != choices.end()) {
        const std::optional<std::int32_t> sum = checked::add(listed->order, *order);
        if (!sum) {
            due(componenttexts::simulationFailed.toString(), true);
            return false;
        }
        listed->order = *sum;
    } else if (static_cast<int>(choices.size()) == capacity) {
        due(combinedtexts::tooManySets.toString(), false);
        return false;
    } else {
        choices.push_back({*setProduct, *order});
    }
    if (!replan(std::move(choices))) {
        return false;
    }
    m_selectedRow = row;
    return true;
}

bool CombinedScreen::changeQuantity(int row, const QString& entry)
{
    if (row < 1 || row > static_cast<int>(m_choices.size())) {
        return false;
    }
    const std::optional<std::int32_t> order = acceptedEntry(entry);
    if (!order) {
        return false;
    }
    std::vector<Choice> choices = m_choices;
    choices[static_cast<std::size_t>(row - 1)].order = *order;
    return replan(std::move(choices));
}

bool CombinedScreen::removeSet(int row)
{
    if (row < 1 || row > static_cast<int>(m_choices.size())) {
        return false;
    }
    std::vector<Choice> choices = m_choices;
    choices.erase(choices.begin() + (row - 1));
    if (!replan(std::move(choices))) {
        return false;
    }
    m_selectedRow = std::min(row, std::max(1, static_cast<int>(m_choices.size())));
    return true;
}

std::optional<CombinedOrderExport> CombinedScreen::exportCombined(const QDateTime& stamp)
{
    m_exporting = true;
    m_messageLine = componenttexts::exporting.toString();
    if (m_view) {
        m_view->working();
    }
    CombinedOrderExport written;
    try {
        const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
        written = exportCombinedOrder(m_plan, m_directory, stamp, *encoder);
    } catch (const std::exception& failure) {
        const auto* exportError = dynamic_cast<const ExportError*>(&failure);
        m_exporting = false;
        m_messageLine = planMessage();
        due(componenttexts::exportFailed.toString(), true,
            exportError ? exportError->cause()
                        : exporttexts::unexpectedCause.toString() + u'\n' +
                              QString::fromUtf8(failure.what()));
        return std::nullopt;
    }
    m_exporting = false;
    m_messageLine = planMessage();
    due(QString::number(written.lines) + componenttexts::exportCountAfter.toString(), false);
    return written;
}

} // namespace setzaiko
