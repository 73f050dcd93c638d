#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <ostream>
#include <vector>

namespace setzaiko::testing {

// One way of damaging a workbook file. apply throws ImageError when the workbook lacks what
// the damage needs (a second sector in its stream, a shared string table...).
struct WorkbookDamage
{
    QString name;
    // True when no reading of the damaged file can be right: the reader must refuse it.
    // False when a tolerant reader may also read it exactly as the undamaged file (a count it
    // need not trust, a chain it reads no further than needed); anything else is a fault.
    bool mustFail = true;
    std::function<QByteArray(const QByteArray&)> apply;

    // Names the damage in test listings.
    friend void PrintTo(const WorkbookDamage& damage, std::ostream* out)
    {
        *out << damage.name.toStdString();
    }
};

// Damages to the compound file container and to the BIFF records inside it, meant for
// workbooks written like the generated ones (one Workbook stream in regular sectors).
std::vector<WorkbookDamage> workbookDamages();

// Offsets at which to cut a file of the given size: count offsets spread over the file, plus
// every sector boundary up to boundaryLimit bytes and the bytes either side of it.
std::vector<qsizetype> truncationOffsets(qsizetype size, int count, qsizetype boundaryLimit);

} // namespace setzaiko::testing
