#pragma once
// Prepares a working folder from the data files installed with the program, by the rules of the
// Linux launcher (packaging/quorvel-launcher.in): Bolton.cef and Análises.rav are program data and
// are brought up to date; Stats.cef, Normas.json and Análises/ are created only when missing, so
// counts, the clinic's norms and patient files survive every upgrade. An Análises that exists (a
// shared folder) is left as it is.

#include <QString>

namespace qv {

// What could not be prepared, one line each ("" when the folder is ready). The start-up's own
// checks then tell the clinician which data file is missing.
QString PrepareWorkingFolder(const QString& dataFolder, const QString& workFolder);

}  // namespace qv
