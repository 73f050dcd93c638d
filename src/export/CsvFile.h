#pragma once

#include "common/Cp932Encoder.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>

namespace setzaiko {

// The conventions every file the system writes shares: code page 932, CR LF, every field
// followed by ",", a field quoted only where it holds ",", a quote or a line break.

// Writes one line of fields. Throws ExportError (CannotWrite) when the device refuses it.
void writeCsvLine(QIODevice& device, const Cp932Encoder& encoder, const QStringList& fields);

// A number as the files write it: plain digits, "-" before a negative value.
QString csvNumber(std::int32_t value);

// Whether a character cannot be part of a file name on some platform.
bool isForbiddenInFileName(QChar c);

// Creates the file at path and has `write` fill it, returning what write returns; or leaves no
// file at all: the lines go to a temporary file beside the target, renamed into place once
// complete, so that a failure never leaves a partial file or damages an existing file of that
// name. Throws ExportError.
int saveCsvFile(const QString& path, const std::function<int(QIODevice&)>& write);

} // namespace setzaiko
