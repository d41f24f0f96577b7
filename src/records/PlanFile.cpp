#include "records/PlanFile.h"

#include "records/FileIo.h"
#include "records/PatientName.h"
#include "records/TextFile.h"

namespace qv {

QString PlanFileName(const QString& patient) { return AnalysesFolder() + patient + QStringLiteral(".otl"); }

QByteArray EncodePlan(const PlanContents& plan)
{
    QStringList lines;
    lines.reserve(plan.lines.size() + 1);
    lines << plan.patient;
    lines += plan.lines;
    return JoinTextLines(lines);
}

PlanContents ParsePlan(const QByteArray& bytes) { return ParsePatientText(bytes); }

PlanContents ReadPlanFile(const QString& path) { return ParsePlan(ReadFileBytes(path)); }

void WritePlanFile(const QString& path, const PlanContents& plan) { ReplaceFileBytes(path, EncodePlan(plan)); }

}  // namespace qv
