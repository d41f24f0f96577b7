#pragma once
// The Bolton analysis file: ".\Análises\" + patient + ".bol", one 219-byte record of
// length-prefixed Windows-1252 texts holding only what was typed, laid out by BoltonFields().

#include "bolton/BoltonSheet.h"

#include <QByteArray>
#include <QString>

namespace qv {

QByteArray EncodeBoltonSheet(const BoltonSheet& sheet);
BoltonSheet DecodeBoltonSheet(const QByteArray& bytes);  // at least kBoltonFileSize bytes

// Relative to the working folder.
QString BoltonFilePath(const QString& paciente);

// Reads the first record of the file; throws IoError when it is missing, unreadable or short.
BoltonSheet ReadBoltonFile(const QString& path);

// Creates the file and writes the record; never replaces an existing file. Throws IoError.
void WriteBoltonFile(const QString& path, const BoltonSheet& sheet);

}  // namespace qv
