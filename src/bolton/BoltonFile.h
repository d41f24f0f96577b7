#pragma once
// The Bolton analysis file: ".\Análises\" + patient + ".bol", one 219-byte record of
// length-prefixed Windows-1252 texts holding only what was typed.

#include <QByteArray>
#include <QString>

#include <array>

namespace qv {

struct BoltonFileRecord {
    QString paciente;              // 50 characters
    std::array<QString, 12> s;     // s01 .. s12, 5 characters each
    std::array<QString, 12> i;     // i01 .. i12
    QString termole, termold, segmole, segmold;  // in the order they are stored

    static constexpr int kSize = 219;
    static constexpr int kNameCapacity = 50;
    static constexpr int kFieldCapacity = 5;

    QByteArray encode() const;
    static BoltonFileRecord decode(const QByteArray& bytes);  // at least kSize bytes
};

// Relative to the working folder.
QString BoltonFilePath(const QString& paciente);


// Reads the first record of the file; throws IoError when it is missing, unreadable or short.
BoltonFileRecord ReadBoltonFile(const QString& path);

// Creates the file and writes the record; never replaces an existing file (FileExistsError,
// also when another computer created it a moment ago). Throws IoError.
void WriteBoltonFile(const QString& path, const BoltonFileRecord& record);

// SALVAR's test and write under the lock beside the file: AlreadyExists (nothing written) when a
// file of that name exists, Written otherwise. Throws IoError: FileBusyError when another
// computer holds the lock (nothing written).
enum class BoltonSave { Written, AlreadyExists };
BoltonSave SaveNewBoltonFile(const QString& path, const BoltonFileRecord& record);

}  // namespace qv
