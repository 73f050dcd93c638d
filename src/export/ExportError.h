#pragma once

#include <QString>

#include <stdexcept>

namespace setzaiko {

// Why an export failed: a small closed set, each with one Japanese sentence.
enum class ExportFailure {
    ForbiddenName, // the code or the name holds a character no file name may hold
    NoFolder,      // the output folder does not exist
    CannotCreate,  // the file cannot be created in the folder
    CannotWrite,   // writing, syncing or naming the file failed
    NotShown,      // the set product's stock is not known: no set product was chosen
    Overflow,      // the set product's shortage does not fit in 32 bits
};

// The sentence of one kind, ending in "。".
QString exportFailureSentence(ExportFailure kind);

// Any failure of the export. detail() tells what the sentence of its kind does not: for a
// file, the folder and the system's reason, each on a line of its own.
class ExportError : public std::runtime_error
{
public:
    ExportError(ExportFailure kind, const QString& detail)
        : std::runtime_error(detail.toStdString()), m_kind(kind), m_detail(detail)
    {}

    ExportFailure kind() const { return m_kind; }
    const QString& detail() const { return m_detail; }
    // The kind's sentence, then the detail on lines of its own: what the failure box shows
    // behind its details button.
    QString cause() const;

private:
    ExportFailure m_kind;
    QString m_detail;
};

} // namespace setzaiko
