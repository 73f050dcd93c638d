#pragma once

#include <QString>

#include <vector>

namespace setzaiko::xlsx {

class ZipArchive;

// One relationship of a package part, its target resolved to a part name.
struct Relationship
{
    QString id;
    QString type;   // the last segment of the type URI: "officeDocument", "worksheet"...
    QString target; // part name without the leading "/"; empty for an external target
    bool external = false;
};

// The relationships of the part named sourcePart ("" for the package itself), read from its
// relationships part; none when that part does not exist. A target that leaves the package,
// or cannot be a part name, is damage. Throws WorkbookError.
std::vector<Relationship> readRelationships(ZipArchive& archive, const QString& sourcePart);

// The part name a relative or absolute target denotes, seen from sourcePart. Throws
// WorkbookError when it climbs above the package root or names something else than a part.
QString resolveTarget(const QString& sourcePart, const QString& target);

} // namespace setzaiko::xlsx
