#pragma once
// One Tweed stage file recomputed as opening it on the Tweed page recomputes it: the texts the
// page would show, by the objectName of the field or label that shows them. This is the only
// place of the patients folder that knows the Tweed file and calculation.

#include <QByteArray>
#include <QHash>
#include <QString>

namespace qv {

struct StageResults {
    bool readable = false;  // false: the file is shorter than a record (the page opens nothing)
    QString refusal;        // the page's warning when the stored inputs cannot be calculated
    // "twPaciente", "Idade", the twenty measurement fields, "dcopcres" (when the clinician
    // chose an IMPA), and, when calculated, every result label ("twanbres" … "idlabel").
    QHash<QString, QString> texts;
    QString text(const QString& name) const { return texts.value(name); }
    bool calculated() const { return readable && refusal.isEmpty(); }
};

StageResults CalculateStage(const QByteArray& twe);

}  // namespace qv
