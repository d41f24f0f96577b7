#include "records/PatientName.h"

#include "entry/RealEntry.h"

namespace qv {

QString AnalysesFolder() { return QStringLiteral("Análises/"); }

bool IsSafePatientName(const QString& name)
{
    for (QChar c : name) {
        if (c == QChar(kBackspace))
            return false;
        if (FilterNameKey(c).kind != KeyVerdict::Accept)
            return false;
    }
    return true;
}

QString UnsafePatientNameText() { return QStringLiteral("O nome do paciente contém caracteres inválidos!"); }

}  // namespace qv
