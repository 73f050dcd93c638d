#include "ui/ScreenTableModel.h"

#include "common/NumberText.h"

#include <QBrush>
#include <QFont>

namespace setzaiko {

ScreenTableModel::ScreenTableModel(ScreenTable& table, QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_fixedHeading(headings.value(0)),
      m_headings(headings.mid(1))
{
    m_table.setTableListener(this);
}

ScreenTableModel::~ScreenTableModel()
{
    m_table.setTableListener(nullptr);
}

int ScreenTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.tableRows();
}

int ScreenTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.tableColumns() - 1;
}

QVariant ScreenTableModel::data(const QModelIndex& index, int role) const
{
    return index.isValid() ? cellData(index.row() + 1, index.column() + 1, role) : QVariant();
}

void ScreenTableModel::setSpokenHeading(int section, const QString& name)
{
    if (m_spokenHeadings.isEmpty()) {
        m_spokenHeadings = m_headings;
    }
    if (section >= 0 && section < m_spokenHeadings.size()) {
        m_spokenHeadings[section] = name;
    }
}

QVariant ScreenTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        return cellData(section + 1, 0, role);
    }
    if (role == Qt::DisplayRole) {
        return m_headings.value(section);
    }
    if (role == Qt::AccessibleTextRole && !m_spokenHeadings.isEmpty()) {
        return m_spokenHeadings.value(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return Qt::Alignment(Qt::AlignCenter).toInt();
    }
    return {};
}

QVariant ScreenTableModel::cellData(int row, int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return m_table.cellText(row, column);
    case Qt::TextAlignmentRole:
        // General alignment: numbers to the right, every other text to the left.
        return (Qt::AlignVCenter |
                (isNumeric(m_table.cellText(row, column)) ? Qt::AlignRight : Qt::AlignLeft))
            .toInt();
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        const std::optional<CellRole> look = m_table.cellRole(row, column);
        if (!look) {
            return {};
        }
        const bool isShortage = *look == CellRole::Shortage;
        if (role == Qt::ForegroundRole) {
            return QBrush(isShortage ? Qt::red : Qt::black);
        }
        return QBrush(isShortage ? Qt::yellow : Qt::white);
    }
    case Qt::FontRole: {
        if (m_table.rowEmphasis(row).isEmpty()) {
            return {};
        }
        // Only the weight is set: the grid's own font gives the rest.
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::AccessibleDescriptionRole: {
        // What colour and weight show, said: the shortage of the cell, then why its row
        // stands out.
        QStringList said;
        if (m_table.cellRole(row, column) == CellRole::Shortage) {
            said << m_shortage;
        }
        if (const QString emphasis = m_table.rowEmphasis(row); !emphasis.isEmpty()) {
            said << emphasis;
        }
        return said.isEmpty() ? QVariant() : QVariant(said.join(u'\u3002'));
    }
    default:
        return {};
    }
}

void ScreenTableModel::rowsChanged(int first, int last)
{
    emit dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, first - 1, last - 1);
}

void ScreenTableModel::tableChanged()
{
    rowsChanged(1, rowCount());
}

} // namespace setzaiko
