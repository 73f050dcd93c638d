#pragma once

#include <QString>

namespace setzaiko {

// Why a workbook could not be read: a small closed set, each with one Japanese sentence that
// the import's failure box shows as its details and the command line prints.
enum class WorkbookFailure {
    NoSuchFile,     // nothing exists at the path
    NotAFile,       // the path names a folder or another thing that is no file
    Unreadable,     // the file exists but cannot be opened or read
    NotAWorkbook,   // a file of another kind
    Encrypted,      // protected with a password
    OldFormat,      // an Excel 5.0/95 workbook or older
    DuplicateSheet, // two worksheets of one name
    NarrowSheet,    // a master sheet's used part ends before a column the import needs
    Damaged,        // anything else the reader finds wrong with the file
};

// The sentence of one kind, ending in "。".
QString failureSentence(WorkbookFailure kind);

} // namespace setzaiko
