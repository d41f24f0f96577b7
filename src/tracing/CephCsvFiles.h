#pragma once
// The rows of the measures' spreadsheet file, read from the tracings of the analyses folder:
// "NOME-INICIAL.tra" … "NOME-FINAL.tra". A tracing that cannot be read or is not a tracing is
// left out and named, never stopping the rest.

#include "analysis/CephCsv.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

// "INICIAL", "INTER1", "INTER2", "FINAL": the stages in treatment order, as file names write them.
const QStringList& CephStageWords();

struct CephCsvFiles {
    std::vector<CephCsvRow> rows;  // by patient (case and accents folded), then stage
    QStringList skipped;           // file names of the tracings left out, in the same order
};

// One patient's stages (patient not empty: the four file names exactly), or every patient's
// (patient empty: every "*-STAGE.tra" of the folder, stage words in any case).
// Measured by the analyses of `catalogue`; each row with the points its file keeps as still only
// proposed, whose values the spreadsheet marks.
CephCsvFiles ReadCephCsvRows(const AnalysisCatalogue& catalogue, const QString& folder, const QString& patient = QString());

}  // namespace qv
