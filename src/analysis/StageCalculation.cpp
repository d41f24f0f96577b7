#include "analysis/StageCalculation.h"

#include "records/TweedFile.h"
#include "analysis/TweedAnalysis.h"

namespace qv {

StageResults CalculateStage(const QByteArray& twe)
{
    StageResults out;
    if (twe.size() < kTweedRecordSize)
        return out;  // the page's reader refuses a short file before filling anything
    out.readable = true;
    const TweedSheet sheet = DecodeTweed(twe);

    // The page after opening: the stored texts in their fields, and the clinician's IMPA only
    // when "Não" was chosen (the decoder leaves it empty otherwise).
    for (const TweedField& f : TweedFields())
        if (f.input)
            out.texts[size_t(f.key)] = sheet.*(f.input);
    out.dcopcres = sheet.dcopcres;

    const TweedRefusal refusal = CheckTweedInputs(sheet);
    if (refusal != TweedRefusal::None) {
        out.refusal = RefusalText(refusal);
        return out;
    }
    TweedResults results = ComputeTweed(sheet);
    KeepClinicianImpa(results, sheet);
    for (const TweedField& f : TweedFields())
        if (f.result)
            out.texts[size_t(f.key)] = f.result(results);
    return out;
}

}  // namespace qv
