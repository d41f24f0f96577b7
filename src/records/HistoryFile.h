#pragma once
// The treatment history (".pln"): the patient's name on the first line, then one block per
// visit: the date, an empty line, the description's lines and a separator of 145 dashes.

#include "records/TextFile.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace qv {

inline constexpr int kHistorySeparatorLength = 145;

QString HistorySeparator();
// "Análises/" + patient + ".pln".
QString HistoryFileName(const QString& patient);
// The visit date in the Brazilian short format, "09/12/2026".
QString HistoryDateText(const QDate& date);

// One visit's block, with CR LF line ends.
QByteArray HistoryBlock(const QString& date, const QStringList& description);

using HistoryContents = PatientText;
HistoryContents ParseHistory(const QByteArray& bytes);

// Reads the file; throws IoError.
HistoryContents ReadHistoryFile(const QString& path);
// Creates the file with the name line and the first block, replacing nothing; throws IoError.
void CreateHistoryFile(const QString& path, const QString& patient, const QByteArray& block);
// Appends a block to an existing file, under the file's lock: the stored lines with the new block
// replace the file at once, so a visit appears whole or not at all and a failure leaves every
// visit any computer saved. A last line left without its line end is ended first so the date
// does not run into it. Throws IoError.
void AppendHistoryFile(const QString& path, const QByteArray& block);

// SALVAR's write: under the file's lock, appends to the patient's history when it exists and
// creates it otherwise, and says which it did (the message depends on it). Throws IoError
// (FileBusyError when another computer is saving the same history: nothing is written).
enum class HistorySave { Created, Appended };
HistorySave SaveHistoryVisit(const QString& path, const QString& patient, const QByteArray& block);

}  // namespace qv
