#pragma once
// Patient files are named after the patient. Only a name made of what the name filter lets
// through can never lead a path out of the analyses folder, whatever a file handed us.

#include <QString>

namespace qv {

// Folder of every patient file, relative to the working folder.
QString AnalysesFolder();

// True when every character of the name is one the name filter accepts (letters, accented
// capitals, spaces, commas). An empty name passes: callers refuse it with their own warning.
bool IsSafePatientName(const QString& name);

// The error shown when a save is refused for such a name.
QString UnsafePatientNameText();

}  // namespace qv
