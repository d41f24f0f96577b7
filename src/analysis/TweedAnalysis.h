#pragma once
// The Tweed calculation as plain data: the typed texts in, the texts (and colours) of every
// result label out. Each step reads the earlier results back from their shown text, so a
// value carries its displayed rounding into the next step.

#include "records/TweedModel.h"

#include <QString>

namespace qv {

// The calculation reads the sheet as typed.
using TweedInputs = TweedSheet;

enum class TweedRefusal { None, Incomplete, NoGender, ZeroAfa };

// The checks before anything is counted or written, in their order of precedence.
TweedRefusal CheckTweedInputs(const TweedInputs& in);
// The warning for a refusal (empty for None).
QString RefusalText(TweedRefusal refusal);

// Horn's facial height index of AFP / AFA. Ratios of plain decimal texts are compared with the
// bounds exactly (87.3 / 116.4 is 0.75, not the 0.7499... of its double quotient).
HornResult ClassifyHorn(const QString& afp, const QString& afa);

// Sign of AFP / AFA - percent / 100, exact for plain decimal texts; AFA must not read as 0.
int CompareRatio(const QString& afp, const QString& afa, int percent);

DcTargets ComputeDcTargets(const QString& twfma);

// DC := F1((IMPA target in force - measured IMPA) * 0.8).
QString CephalometricDiscrepancy(const QString& impaTarget, const QString& twimpa);

// Soft-tissue modification from the DC as shown and the typed LS, QT.
QString SoftTissueModification(const QString& anadcres, const QString& twls, const QString& twqt);

// Growth still expected in the posterior area: 3 mm a year up to 14 (girls) or 16 (boys).
QString ExpectedGrowth(const QString& idade, bool genMasc, bool genFem);

struct SpaceInputs {
    QString anaer, anaep, anmer, anmep, anmspee, anmcorr, anper, anpep;
    QString twls, twqt, twimpa;
    QString impaTarget;  // dcimpares, or dcopcres when the clinician chose his own
    QString Idade;
    bool GenMasc = false;
    bool GenFem = false;
};

SpaceResults ComputeTotalSpace(const SpaceInputs& in);

struct DifficultyInputs {
    QString twfma, twanbres, twangz, twploc, twsnb, twafp, twafa;
    QString anadmres, anadcres, anamtmres, anmdmres, anmspee, anmcorr, anposres;
};

DifficultyResults ComputeDifficulty(const DifficultyInputs& in);

// All results of one calculation; the inputs must have passed CheckTweedInputs. Never fails:
// any text is read with ParseReal.
TweedResults ComputeTweed(const TweedInputs& in);

// An opened file keeps the clinician's IMPA: when the file holds one (the decoder reads it only
// with dcnao), the DC group shows it as the IMPA target after the recalculation.
void KeepClinicianImpa(TweedResults& results, const TweedSheet& opened);

// The IMPA question asked at the end of a calculation.
QString ImpaQuestionText(const QString& dcimpares);

// Text of the grade label for a shown total.
QString DifficultyGradeText(const QString& idtotres);

}  // namespace qv
