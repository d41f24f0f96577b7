#pragma once
// One Tweed stage file recomputed as opening it on the Tweed page recomputes it: the texts the
// page would show, by the key of the field or label that shows them. This is the only place of
// the patients folder that knows the Tweed file and calculation.

#include "records/TweedModel.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace qv {

struct StageResults {
    bool readable = false;  // false: the file is shorter than a record (the page opens nothing)
    QString refusal;        // the page's warning when the stored inputs cannot be calculated
    // Every typed field, and, when calculated, every result (twanbres … idlabel); empty otherwise.
    std::array<QString, kTweedKeyCount> texts;
    QString dcopcres;  // the clinician's IMPA, when "Não" was chosen
    const QString& text(TweedKey key) const { return texts[size_t(key)]; }
    bool calculated() const { return readable && refusal.isEmpty(); }
};

StageResults CalculateStage(const QByteArray& twe);

}  // namespace qv
