#include "analysis/DiagnosisGeneration.h"

#include "entry/RealEntry.h"

#include <algorithm>

namespace qv {

namespace {

const QString kNoExtraction = QStringLiteral("Não há necessidade de Extração");
const QString kExtraction = QStringLiteral("Extração");
const QString kSurgery = QStringLiteral("Ortodontia e cirurgia");
const QString kIntrusive = QStringLiteral("Extração e usar forças\rdirecionais intrusivas");

void SetCross(ExtractionCross& cross, const Quadrants& quadrants)
{
    cross.lines = true;
    cross.quadrants = quadrants;
}

Quadrants All(const char* tooth)
{
    const QString t = QString::fromLatin1(tooth);
    return {t, t, t, t};
}

Quadrants Q(const char* ul, const char* ur, const char* ll, const char* lr)
{
    return {QString::fromLatin1(ul), QString::fromLatin1(ur), QString::fromLatin1(ll), QString::fromLatin1(lr)};
}

QString& Slot(PanelState& panel, int slot) { return panel.dsdesc[size_t(slot - 1)]; }

// Slot k (2..5) is joined to the one above it by its "ou" label.
void ShowOu(PanelState& panel, int slot) { panel.ouDesc[size_t(slot - 2)] = true; }

void Anterior(PanelState& panel, double a, const GuideAnswers& g)
{
    panel.antInfo = true;
    if (a > -3) {
        panel.dsant = kNoExtraction;
        return;
    }
    panel.dsant = kExtraction;
    if (a > -5 && !g.daapinh)
        SetCross(panel.ant, All("8"));
    else if (a > -5)
        SetCross(panel.ant, All("5"));
    else if (a > -7 && g.menor)
        SetCross(panel.ant, Q("4", "4", "5", "5"));
    else if (a > -7 && g.maior)
        SetCross(panel.ant, All("4"));
    else if (a > -15)
        SetCross(panel.ant, All("4"));
    else
        SetCross(panel.ant, Q("X  4", "4  X", "X  4", "4  X"));
}

void Middle(PanelState& panel, double m, const GuideAnswers& g)
{
    panel.medInfo = true;
    if (m > -3) {
        panel.dsmed = kNoExtraction;
        return;
    }
    panel.dsmed = kExtraction;
    if (m > -5 && !g.dmapinh) {
        SetCross(panel.med, All("8"));
        if (g.dmrel) {
            panel.ou = true;
            panel.dsmed2 = kExtraction;
            SetCross(panel.med2, Q("4", "4", "5", "5"));
        }
    } else if (m > -5 && g.dmrel) {
        SetCross(panel.med, Q("4", "4", "5", "5"));
    }
    // Crowding without a Class II relation between -5 and -3 is treated like the band below
    // it, as the anterior area is, so every discrepancy of -3 or less gets a suggestion.
    else if (m > -7 && g.dmpro) {
        SetCross(panel.med, Q("4", "4", "5", "5"));
    } else if (m > -7) {
        SetCross(panel.med, All("5"));
    } else {
        SetCross(panel.med, Q("X  4", "4  X", "X  5", "5  X"));
    }
}

void Posterior(PanelState& panel, double p, const GuideAnswers& g)
{
    panel.posInfo = true;
    if (p > -5 && g.dpadq) {
        panel.dspos = QStringLiteral("Aguardar desenvolvimento dos\r3º Molares");
        return;
    }
    panel.dspos = kExtraction;
    SetCross(panel.pos, All("8"));
}

void FirstSkeletal(PanelState& panel, const QString& text)
{
    panel.descInfo = true;
    Slot(panel, 1) = text;
}

void FirstSkeletal(PanelState& panel, const QString& text, const Quadrants& quadrants)
{
    FirstSkeletal(panel, text);
    SetCross(panel.desc[0], quadrants);
}

void Horizontal(PanelState& panel, double anb, const GuideAnswers& g)
{
    if (g.horcl2) {
        if (anb >= 3 && anb < 5 && g.sem) {
            FirstSkeletal(panel, kExtraction, All("8"));
            ShowOu(panel, 2);
            Slot(panel, 2) = kExtraction;
            SetCross(panel.desc[1], Q("4", "4", "", ""));
            ShowOu(panel, 3);
            Slot(panel, 3) = kExtraction;
            SetCross(panel.desc[2], Q("4", "4", "5", "5"));
        } else if (anb >= 3 && anb < 5 && g.direita) {
            FirstSkeletal(panel, kExtraction, Q("4", "4", "5", "4"));
        } else if (anb >= 3 && anb < 5) {
            FirstSkeletal(panel, kExtraction, Q("4", "4", "4", "5"));
        } else if (anb >= 5 && anb < 9) {
            FirstSkeletal(panel, kExtraction, Q("7", "7", "8", "8"));
        } else if (anb >= 9 && anb < 12) {
            FirstSkeletal(panel, kExtraction, Q("6", "6", "8", "8"));
        } else if (anb >= 12) {
            FirstSkeletal(panel, kSurgery);
        }
    } else if (g.horcl3) {
        if (anb > -5 && anb < 0)
            FirstSkeletal(panel, QStringLiteral("Avaliar necessidade de Extração"), Q("5", "5", "4", "4"));
        else if (anb <= -5)
            FirstSkeletal(panel, QStringLiteral("Avaliar necessidade de cirurgia"));
    }
}

void Vertical(PanelState& panel, const GuideAnswers& g)
{
    if (g.aberta) {
        if (g.suave)
            AppendWithCross(panel, kIntrusive, All("4"));
        else if (g.media)
            AppendWithCross(panel, kIntrusive, All("X"));
        else
            AppendUnique(panel, kSurgery, 3);
    } else if (g.profunda) {
        // Under a deep bite the box media is the mild grade.
        if (g.media)
            AppendWithCross(panel,
                            QStringLiteral("Extração, força de inclinação\rdistal e usar forças\rdirecionais intrusivas"),
                            All("5"));
        else
            AppendUnique(panel,
                         QStringLiteral("Usar placa de altura, elásticos\rverticais e forças direcionais extrusivas.\r"
                                        "Ortodontia e cirurgia"),
                         3);
    }
}

void Facial(PanelState& panel, const GuideAnswers& g)
{
    if (!g.desarm)
        return;
    if (g.dessuave)
        AppendUnique(panel, QStringLiteral("Tratamento compensatório por\rposicionamento dentário"), 4);
    else
        AppendUnique(panel, kSurgery, 4);
}

}  // namespace

void AppendWithCross(PanelState& panel, const QString& text, const Quadrants& quadrants)
{
    for (int k = 3; k >= 1; --k) {
        if (!Slot(panel, k).isEmpty()) {
            Slot(panel, k + 1) = text;
            ShowOu(panel, k + 1);
            SetCross(panel.desc[size_t(k)], quadrants);
            return;
        }
    }
    FirstSkeletal(panel, text, quadrants);
}

void AppendUnique(PanelState& panel, const QString& text, int firstSlot)
{
    // Slot 5 is the last one: nothing can be added after it.
    for (int k = std::min(firstSlot, 4); k >= 1; --k) {
        const QString& held = Slot(panel, k);
        if (!held.isEmpty() && held != text) {
            Slot(panel, k + 1) = text;
            ShowOu(panel, k + 1);
            return;
        }
    }
    FirstSkeletal(panel, text);
}

PanelState GenerateDiagnosis(const GuideInputs& inputs, const GuideAnswers& answers)
{
    PanelState panel;
    Anterior(panel, ParseReal(inputs.anterior), answers);
    Middle(panel, ParseReal(inputs.middle), answers);
    Posterior(panel, ParseReal(inputs.posterior), answers);
    // Without a skeletal disharmony the boxes under it are unchecked, and nothing is written.
    if (!answers.clsim)
        return panel;
    Horizontal(panel, ParseReal(inputs.anb), answers);
    Vertical(panel, answers);
    Facial(panel, answers);
    return panel;
}

}  // namespace qv
