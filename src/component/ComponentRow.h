#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// One listed component of a set product: its stock joined from the stock master, the sets
// that stock allows and, in an order plan, its planned shipment and shortage.
struct ComponentRow
{
    // The figures of a row, in the order they are worked out. A run-time failure stops at one
    // of them: that figure and the ones after it are not worked out.
    enum class Figure { None, Shipment, Shortage, SetsPossible, StockNeeded };

    int rowNumber = 0; // the component's place in the list, from 1
    QString productName;
    QString productCode;
    std::int32_t stockQuantity = 0;
    QString unit;
    std::int32_t quantityPerSet = 0;
    std::int32_t plannedShipment = 0;
    std::int32_t shortage = 0; // negative where the stock falls short, else 0
    std::int32_t setsPossible = 0;
    std::int32_t stockNeeded = 0;

    // The figure a run-time failure stopped at; None for a row worked out whole.
    Figure failedAt = Figure::None;

    bool isShort() const { return shortage < 0; }
    bool isWhole() const { return failedAt == Figure::None; }
};

} // namespace setzaiko
