#pragma once

#include "screen/ScreenTable.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace setzaiko {

// A screen table as a read-only item model for a FlexGrid: the table's column 0 is the
// vertical header, its data columns the model's columns, the headings the horizontal header
// (the first heading is that of the fixed column). A shortage is red on yellow, every other
// figure with a role black on white. The shape never changes, so a changed table is told as
// changed data: the grid's current cell stays where it was.
class ScreenTableModel : public QAbstractTableModel, private ScreenTableListener
{
    Q_OBJECT

public:
    ScreenTableModel(ScreenTable& table, QStringList headings, QObject* parent);
    ~ScreenTableModel() override;

    const QString& fixedHeading() const { return m_fixedHeading; }

    // What a screen reader speaks for a data column's heading where the heading shows
    // nothing to speak, and for a shortage cell besides its colours.
    void setSpokenHeading(int section, const QString& name);
    void setShortageDescription(const QString& description) { m_shortage = description; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // What a cell (row from 1, column from 0) of the table gives for the role.
    QVariant cellData(int row, int column, int role) const;
    void rowsChanged(int first, int last) override;
    void tableChanged() override;

    ScreenTable& m_table;
    QString m_fixedHeading;
    QStringList m_headings; // of the data columns
    QStringList m_spokenHeadings;
    QString m_shortage;
};

} // namespace setzaiko
