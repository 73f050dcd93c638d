#pragma once

#include <QString>

#include <optional>

namespace setzaiko {

// The look of a cell, by role: a shortage stands out, every other figure is plain.
enum class CellRole { Plain, Shortage };

// Told when the texts or roles of a screen table change.
class ScreenTableListener
{
public:
    virtual ~ScreenTableListener() = default;

    // The rows first to last (from 1) changed.
    virtual void rowsChanged(int first, int last) = 0;
    // Any cell may have changed.
    virtual void tableChanged() = 0;
};

// A list a screen shows, as rows by columns of text with a look by role: row 1 is the first
// data row and column 0 the fixed column of running numbers. The number of rows and columns
// never changes; rows below the data are blank.
class ScreenTable
{
public:
    virtual ~ScreenTable() = default;

    virtual int tableRows() const = 0;
    virtual int tableColumns() const = 0;
    virtual QString cellText(int row, int column) const = 0;
    // nullopt where the cell has no look of its own.
    virtual std::optional<CellRole> cellRole(int /*row*/, int /*column*/) const
    {
        return std::nullopt;
    }
    // Why the row (from 1) stands out, read out by assistive tools; the row's text is bold.
    // Empty for a row that does not stand out.
    virtual QString rowEmphasis(int /*row*/) const { return {}; }

    void setTableListener(ScreenTableListener* listener) { m_listener = listener; }

protected:
    void notifyRowsChanged(int first, int last) const
    {
        if (m_listener) {
            m_listener->rowsChanged(first, last);
        }
    }
    void notifyTableChanged() const
    {
        if (m_listener) {
            m_listener->tableChanged();
        }
    }

private:
    ScreenTableListener* m_listener = nullptr;
};

} // namespace setzaiko
