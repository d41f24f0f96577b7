#pragma once
// The treatment plan (".otl"): the patient's name on the first line, then the plan's lines.
// Every save replaces the whole file.

#include "records/TextFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv {

// "Análises/" + patient + ".otl".
QString PlanFileName(const QString& patient);

using PlanContents = PatientText;

QByteArray EncodePlan(const PlanContents& plan);
PlanContents ParsePlan(const QByteArray& bytes);

// Reads the file; throws IoError.
PlanContents ReadPlanFile(const QString& path);
// Replaces the file as a whole (the old plan stays when the write fails); throws IoError.
void WritePlanFile(const QString& path, const PlanContents& plan);

}  // namespace qv
