#pragma once

#include <QColor>
#include <QTableView>

namespace setzaiko {

class ScreenTableModel;

// The list grid of the inquiry and component windows, a view of a screen table addressed as
// the windows speak of it: row 0 is the fixed heading row, rows 1 to n the data; column 0 is
// the fixed column of running numbers, which stays in view when the grid scrolls sideways.
// The arrow keys move within the grid; Tab and Shift+Tab move on to the window's next or
// previous control.
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    FlexGrid(QWidget* parent, ScreenTableModel* table);

    int rows() const;
    int columns() const;

    // Widths and the heading row's height in twips.
    void setColumnWidthTwips(int column, int twips);
    void setHeadingHeightTwips(int twips);

    QString text(int row, int column) const;
    QColor textColour(int row, int column) const;
    QColor backgroundColour(int row, int column) const;

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
    // A double click on a data cell or on the fixed cell of a data row (column 0).
    void cellDoubleClicked(int row, int column);

private:
    // What a cell of the grid holds for the role; invalid outside the grid.
    QVariant cellData(int row, int column, int role) const;

    ScreenTableModel* m_table;
};

} // namespace setzaiko
