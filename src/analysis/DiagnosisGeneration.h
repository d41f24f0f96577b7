#pragma once
// Turns the guide's answers and four results of the Tweed page into the suggested diagnosis.

#include "records/GuideAnswers.h"
#include "analysis/PanelState.h"

#include <QString>

#include <array>

namespace qv {

// The Tweed page's result texts the generation reads back.
struct GuideInputs {
    QString anterior;   // anantres: discrepancy of the anterior area, mm
    QString middle;     // anmedres: discrepancy of the middle area, mm
    QString posterior;  // anposres: discrepancy of the posterior area, mm
    QString anb;        // twanbres: ANB angle, degrees
};

using Quadrants = std::array<QString, 4>;  // upper-left, upper-right, lower-left, lower-right

// Fills an empty panel from validated answers; the texts are read with ParseReal.
PanelState GenerateDiagnosis(const GuideInputs& inputs, const GuideAnswers& answers);

// Skeletal slots are numbered 1 to 5 (dsdesc .. dsdesc5).

// Adds the text with its cross after the last filled one of slots 1 to 3 (or into slot 1).
void AppendWithCross(PanelState& panel, const QString& text, const Quadrants& quadrants);

// Adds the text after the last filled slot from firstSlot down, unless that slot already
// holds it; no cross.
void AppendUnique(PanelState& panel, const QString& text, int firstSlot);

}  // namespace qv
