#pragma once
// "CSV..." (one patient's stages, from the tracing window) and "Exportar todos (CSV)..." (every
// patient, from the patients window): the tracings read, the save dialog, the file written whole
// and readable by its owner only, and a box naming the tracings that could not be read.

#include "analysis/CephCsv.h"

#include <QString>

#include <optional>

namespace qv {

namespace platform {
class Dialogs;
}

// "ANA-cefalometria.csv"; "cefalometria-todos.csv" for every patient (patient empty).
QString CephCsvFileName(const QString& patient);
// The path chosen in the save dialog, with ".csv" added when it has another ending.
QString WithCsvSuffix(const QString& path);

// Exports the measures of one patient's tracings in `folder` (every patient's when patient is
// empty). Boxes carry `caption`; the tray item is enabled after them when enableAfter. Returns the
// file written, empty when nothing was (no tracing, cancelled, or the write failed).
// `onScreen`: the stage the tracing window shows, measured as shown, with the points still only
// proposed there; it stands in for that stage's file, saved or not.
QString ExportCephCsv(platform::Dialogs& dialogs, const QString& folder, const QString& patient,
                      const QString& caption, bool enableAfter = true, const std::optional<CephCsvRow>& onScreen = std::nullopt);

}  // namespace qv
