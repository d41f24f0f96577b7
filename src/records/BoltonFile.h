#pragma once
// The Bolton analysis file: ".\Análises\" + patient + ".bol", one 219-byte record of
// length-prefixed Windows-1252 texts holding only what was typed, laid out by BoltonFields().

#include "records/BoltonSheet.h"

#include <QByteArray>
#include <QString>

namespace qv {

QByteArray EncodeBoltonSheet(const BoltonSheet& sheet);
BoltonSheet DecodeBoltonSheet(const QByteArray& bytes);  // at least kBoltonFileSize bytes

// Relative to the working folder.
QString BoltonFilePath(const QString& paciente);

// Reads the first record of the file; throws IoError when it is missing, unreadable or short.
BoltonSheet ReadBoltonFile(const QString& path);

// Creates the file and writes the record; never replaces an existing file (FileExistsError,
// also when another computer created it a moment ago). Throws IoError.
void WriteBoltonFile(const QString& path, const BoltonSheet& sheet);

// SALVAR's test and write under the lock beside the file: AlreadyExists (nothing written) when a
// file of that name exists, Written otherwise. Throws IoError: FileBusyError when another
// computer holds the lock (nothing written).
enum class BoltonSave { Written, AlreadyExists };
BoltonSave SaveNewBoltonFile(const QString& path, const BoltonSheet& record);

}  // namespace qv
