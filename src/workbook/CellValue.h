#pragma once

#include <QString>
#include <QStringView>

namespace setzaiko {

// One cell as the workbook reader gives it: empty, a number or a text. Booleans, error values
// and formula results arrive already as a number or a text.
//
// A text the reader keeps in a table of its own (a workbook's shared texts) is handed out as
// where it lies in that table, which its WorkbookTable::textHolder keeps, so that handing it
// out copies nothing; any other text is the cell's own.
struct CellValue
{
    enum class Kind : unsigned char { Empty, Number, Text };

    Kind kind = Kind::Empty;
    // A kept text the reader knows to be plain: not empty, and not ending in a space a field is
    // trimmed of. Such a text is taken without being read.
    bool keptPlain = false;
    double number = 0.0;
    QString text;                  // a Text cell's own text
    const QString* kept = nullptr; // or where the reader keeps it; text is then empty

    static CellValue fromNumber(double value) { return {Kind::Number, false, value, {}, nullptr}; }
    static CellValue fromText(QString value)
    {
        return {Kind::Text, false, 0.0, std::move(value), nullptr};
    }
    static CellValue fromKeptText(const QString& value, bool plain = false)
    {
        return {Kind::Text, plain, 0.0, {}, &value};
    }

    bool isEmpty() const { return kind == Kind::Empty; }
    bool isNumber() const { return kind == Kind::Number; }
    // A Text cell's text, wherever it lies.
    QStringView textView() const { return kept ? QStringView(*kept) : QStringView(text); }

    // Makes a kept text the cell's own, for a cell that outlives its reader.
    void ownText()
    {
        if (kept) {
            text = *kept;
            kept = nullptr;
            keptPlain = false;
        }
    }

    // The cell as text: empty for an empty cell, the number's text for a number cell.
    QString toText() const;

    friend bool operator==(const CellValue& a, const CellValue& b)
    {
        return a.kind == b.kind && a.number == b.number && a.textView() == b.textView();
    }
};

} // namespace setzaiko
