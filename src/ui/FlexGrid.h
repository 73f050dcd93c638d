#pragma once

#include <QColor>
#include <QStringList>
#include <QTableWidget>

namespace setzaiko {

// The list grid of the inquiry and component windows, addressed as the windows speak of it:
// row 0 is the fixed heading row, rows 1 to n the data; column 0 is the fixed column of
// running numbers, which stays in view when the grid scrolls sideways. The arrow keys move
// within the grid; Tab and Shift+Tab move on to the window's next or previous control.
class FlexGrid : public QTableWidget
{
    Q_OBJECT

public:
    FlexGrid(QWidget* parent, int rows, int columns);

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    // Headings, centred; widths and the heading row's height in twips.
    void setHeadings(const QStringList& headings);
    void setColumnWidthTwips(int column, int twips);
    void setHeadingHeightTwips(int twips);

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    void setColours(int row, int column, const QColor& text, const QColor& background);
    QColor textColour(int row, int column) const;
    QColor backgroundColour(int row, int column) const;
    // Blanks every data cell, colours included.
    void blankData();

    int row() const;
    int col() const;
    void setCurrent(int row, int column);
    int topRow() const;
    void setTopRow(int row);

    // The screen rectangle of a data cell, for clicks.
    QRect cellRect(int row, int column) const;

signals:
    // The current cell moved to a data cell, by a click, a press released on another cell, the
    // keyboard or the program.
    void currentCellMoved(int row, int column);
    // A press on the fixed cell of a data row.
    void rowHeadingPressed(int row);

private:
    QTableWidgetItem* itemAt(int row, int column) const;

    int m_rows;
    int m_columns;
    // The heading of the fixed column, painted on the corner of the two headers.
    QString m_fixedHeading;
};

} // namespace setzaiko
