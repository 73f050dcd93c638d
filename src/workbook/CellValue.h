#pragma once

#include <QString>

namespace setzaiko {

// One cell as the workbook reader gives it: empty, a number or a text. Booleans, error values
// and formula results arrive already as a number or a text.
struct CellValue
{
    enum class Kind : unsigned char { Empty, Number, Text };

    Kind kind = Kind::Empty;
    double number = 0.0;
    QString text;

    static CellValue fromNumber(double value) { return {Kind::Number, value, {}}; }
    static CellValue fromText(QString value) { return {Kind::Text, 0.0, std::move(value)}; }

    bool isEmpty() const { return kind == Kind::Empty; }
    bool isNumber() const { return kind == Kind::Number; }

    // The cell as text: empty for an empty cell, the number's text for a number cell.
    QString toText() const;

    friend bool operator==(const CellValue&, const CellValue&) = default;
};

} // namespace setzaiko
