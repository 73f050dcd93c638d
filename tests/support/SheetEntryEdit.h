#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>
#include <vector>

namespace setzaiko::testing {

// One worksheet entry (BOUNDSHEET record) to write.
struct SheetEntry
{
    QString name;
    int substream = 0; // index into the substreams written, in stream order
    bool wide = false; // the name stored as UTF-16LE even where 8-bit characters would do
};

// A workbook whose worksheet entries are written anew: names a spreadsheet program would never
// save (two sheets of one name, two entries for one substream) and legal orders a reader may
// not expect. Made from a workbook whose first two worksheets are a product and a stock sheet.
struct SheetEntryEdit
{
    QString name;
    // False only for a workbook that is valid: everything else must be refused by a reader.
    bool mustFail = true;
    // The worksheet substreams of the original to write, by their index in stream order; an
    // index given twice writes a copy.
    std::vector<int> substreams;
    std::vector<SheetEntry> entries;

    // Rewrites the Workbook stream of a compound file and returns it in a new compound file.
    // Throws ImageError when the workbook lacks a substream the edit needs.
    QByteArray apply(const QByteArray& file) const;

    friend void PrintTo(const SheetEntryEdit& edit, std::ostream* out)
    {
        *out << edit.name.toStdString();
    }
};

// Duplicate master sheets, a repeated entry, an entry on another sheet's substream, names that
// differ only in letter case or in how they are stored, and the master sheets swapped.
std::vector<SheetEntryEdit> sheetEntryEdits();

} // namespace setzaiko::testing
