#pragma once
// Every analysis the program offers: the shipped definitions (built into the program from
// data/analyses/) and the clinic's own, the "*.json" files of "Análises Cefalométricas/" in the
// working folder. A file that cannot be read, or whose title another analysis already has, is
// refused naming the file, the line and the reason; the others load.

#include "analysis/AnalysisDefinition.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace qv {

inline constexpr char kClinicAnalysesFolder[] = "Análises Cefalométricas";
inline constexpr char kShippedAnalysesFolder[] = ":/analyses";

struct AnalysisCatalogue {
    std::vector<AnalysisDefinition> analyses;  // the shipped ones in their order, then the clinic's by file name
    QStringList refused;                       // "Arquivo.json, linha 3: why"

    // -1 when no analysis has that title.
    int indexOf(const QString& title) const;
    const AnalysisDefinition* find(const QString& title) const;
    QStringList titles() const;
};

// Reads the definitions of both folders; a folder that does not exist holds none.
AnalysisCatalogue LoadAnalyses(const QString& shippedFolder, const QString& clinicFolder);
// The shipped analyses and the working folder's own.
AnalysisCatalogue LoadAnalyses();
// The shipped analyses and the working folder's own as they are now: read again only when the
// clinic's folder changed (a file added, removed or edited) or the working folder is another.
std::shared_ptr<const AnalysisCatalogue> CurrentAnalyses();
// The shipped ones alone, read once.
const AnalysisCatalogue& ShippedAnalyses();

// What the chosen analyses need placed, in placing order.
std::vector<Landmark> LandmarksFor(const AnalysisCatalogue& catalogue, const QStringList& titles);

}  // namespace qv
