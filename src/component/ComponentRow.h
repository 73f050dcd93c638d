#pragma once

#include <QString>

#include <cstdint>

namespace setzaiko {

// The columns of the component list, in screen order.
namespace componentcolumn {
inline constexpr int number = 0;
inline constexpr int name = 1;
inline constexpr int code = 2;
inline constexpr int stock = 3;
inline constexpr int unit = 4;
inline constexpr int perSet = 5;
inline constexpr int shipment = 6;
inline constexpr int shortage = 7;
inline constexpr int sets = 8;
inline constexpr int needed = 9;
} // namespace componentcolumn

// One listed component of a set product: its stock joined from the stock master, the sets
// that stock allows and, after an order simulation, its planned shipment and shortage.
struct ComponentRow
{
    static constexpr int columnCount = 10;

    int rowNumber = 0;
    QString productName;
    QString productCode;
    std::int32_t stockQuantity = 0;
    QString unit;
    std::int32_t quantityPerSet = 0;
    std::int32_t plannedShipment = 0;
    std::int32_t shortage = 0; // negative where the stock falls short, else 0
    std::int32_t setsPossible = 0;
    std::int32_t stockNeeded = 0;

    // How many cells, from column 0, were written: fewer than all for the row in progress
    // when a failure ended the step.
    int columnsWritten = columnCount;

    // The text grid column `column` shows for this row.
    QString text(int column) const;

    bool isShort() const { return shortage < 0; }
};

// The colours of the shortage column: red on yellow where short, black on white elsewhere.
struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
struct CellColours
{
    Rgb text;
    Rgb background;
};
CellColours shortageColours(bool isShort);

inline constexpr int shortageColumn = componentcolumn::shortage;

} // namespace setzaiko
