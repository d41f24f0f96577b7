#pragma once
// One Tweed analysis as plain texts: what the clinician typed (TweedSheet), what the last
// calculation produced (TweedResults), and the one table that names every field once with its
// key, control, caption, norm, place in the file record, report parameter, row of the
// evolution and the tracing measurement that fills it.

#include "records/GuideAnswers.h"
#include "records/TracingMeasure.h"

#include <QString>

#include <optional>
#include <span>

namespace qv {

enum class AnalysisStage { INICIAL, INTER1, INTER2, FINAL };

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kGradeRed{255, 0, 0};
inline constexpr Rgb kGradeOlive{128, 128, 0};
inline constexpr Rgb kGradeGreen{0, 128, 0};

// Everything typed on the Tweed page, as typed.
struct TweedSheet {
    // Group tw.
    QString twfma, twfmia, twimpa, twploc, twsna, twsnb, twaobo, twangz, twls, twqt, twafa, twafp;
    // Space analysis.
    QString anaer, anaep, anmer, anmep, anmspee, anmcorr, anper, anpep;
    // The clinician's own IMPA (in force while dcnao is checked).
    bool dcnao = false;
    QString dcopcres;
    // Patient.
    QString Idade, twPaciente;
    bool GenMasc = false;
    bool GenFem = false;
    AnalysisStage stage = AnalysisStage::INICIAL;
    // Molar class of the middle area (only checks the molar correction as it is typed).
    bool anmcl2 = false;
    bool anmcl3 = false;
    // The suggested diagnosis was generated, and the guide's answers it came from.
    bool guideDone = false;
    GuideAnswers guide;

    bool operator==(const TweedSheet&) const = default;
};

struct HornResult {
    QString text;
    Rgb colour;
    QString percent;  // twafpafares
    bool operator==(const HornResult&) const = default;
};

struct DcTargets {
    QString dcfmares, dcfmiares, dcimpares;
    bool operator==(const DcTargets&) const = default;
};

struct SpaceResults {
    QString anadmres, anadcres, anamtmres, anantres;
    QString anmdmres, anmedres;
    QString anpdmres, anpcresres, anposres;
    QString andiscres;
    bool operator==(const SpaceResults&) const = default;
};

struct DifficultyResults {
    QString idfmares, idanbres, idangzres, idplocres, idsnbres, idifres, idsub1res;
    QString iddmares, iddcres, idmtmres, iddmmres, idspeeres, idcorrres, iddmpres, idsub2res;
    QString idtotres;
    QString idlabel;
    Rgb colour;  // of idlabel and idtotres
    bool operator==(const DifficultyResults&) const = default;
};

// The results of one calculation as the page shows them (dcimpares is the clinician's IMPA
// when one was in force).
struct TweedResults {
    QString twanbres;
    HornResult horn;  // hornres and twafpafares
    DcTargets targets;
    QString dcdcres;
    SpaceResults space;
    DifficultyResults difficulty;
    bool operator==(const TweedResults&) const = default;
};

// Where a field of the page lives.
enum class TweedGroup { Patient, Tweed, Dc, Anterior, Middle, Posterior, Space, Difficulty, Grade };

// Every field of the analysis, in the order of the field table (and of the report).
enum class TweedKey {
    twPaciente, Idade,
    twfma, twfmia, twimpa, twploc, twsna, twsnb, twanbres, twaobo, twangz, twls, twqt, twafa, twafp,
    twafpafares, hornres,
    idfmares, idanbres, idangzres, idplocres, idsnbres, idifres, idsub1res,
    iddmares, iddcres, idmtmres, iddmmres, idspeeres, idcorrres, iddmpres, idsub2res, idtotres,
    anaer, anaep, anadmres, anadcres, anamtmres, anantres,
    anmer, anmep, anmdmres, anmspee, anmcorr, anmedres,
    anper, anpep, anpdmres, anpcresres, anposres,
    andiscres,
    dcfmares, dcfmiares, dcimpares, dcdcres,
    idlabel,
};
inline constexpr int kTweedKeyCount = int(TweedKey::idlabel) + 1;

// The clinical norm of a measurement, as its caption states it.
struct NormBand {
    double low = 0;
    double high = 0;
    bool operator==(const NormBand&) const = default;
};

// Whether and how a field is a row of a patient's evolution. Rows follow the sections in this
// order, and the field table's order within a section.
struct EvolutionSpec {
    enum Section { None, Patient, Tweed, Dc, Space, Difficulty };
    enum Kind { Number, Integer, Percent, Horn, Grade };
    Section section = None;
    Kind kind = Number;
    const char16_t* label = nullptr;  // null: the field's caption
    bool chart = false;               // drawn on the evolution chart with its norm
};

// One field of the Tweed analysis. An entry has `input` (and, when stored, `offset`); a result
// has `result`. `caption` is the text beside the control and in the report line
// caption + ":  " + value + unit; a report parameter without caption prints the value alone.
struct TweedField {
    TweedKey key;
    const char* objectName;
    TweedGroup group;
    const char16_t* caption;  // null: none
    QString TweedSheet::*input = nullptr;
    QString (*result)(const TweedResults&) = nullptr;
    int offset = -1;                   // in the file record
    const char* reportParam = nullptr;  // null: not printed
    const char16_t* unit = u"";
    bool bold = false;
    bool captionInReport = true;
    int capacity = 5;  // characters the file record keeps
    const char16_t* shortTitle = nullptr;  // the caption without its norm; null: the caption
    std::optional<NormBand> norm = std::nullopt;
    EvolutionSpec evolution = {};
    std::optional<Measure> measure = std::nullopt;  // the tracing measurement that fills it

    QString captionText() const { return caption ? QString::fromUtf16(caption) : QString(); }
    QString titleText() const { return shortTitle ? QString::fromUtf16(shortTitle) : captionText(); }
    QString value(const TweedSheet& sheet, const TweedResults& results) const
    {
        return input ? sheet.*input : result(results);
    }
};

// Every field in the order of the report (the order of TweedKey).
std::span<const TweedField> TweedFields();
const TweedField& TweedFieldOf(TweedKey key);
// The field of a documented control; throws std::out_of_range for a name that is not in the table.
const TweedField& TweedFieldOf(const char* objectName);
// The field the tracing's measurement fills.
const TweedField& TweedFieldOf(Measure measure);

}  // namespace qv
