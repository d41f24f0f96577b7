#pragma once
// A Tweed analysis model without a page: the sample patient as a sheet, and its record files.

#include "TweedPageFixture.h"
#include "records/TweedFile.h"
#include "analysis/TweedAnalysisModel.h"

namespace qv::test {

inline TweedSheet SampleSheet()
{
    TweedSheet s;
    for (const auto& [name, value] : kSamplePatient)
        s.*(TweedFieldOf(name).input) = QString::fromUtf8(value);
    s.GenMasc = true;
    return s;
}

// Crowding under 3 mm, Class II molars, third molars in place, skeletal Class II without
// subdivision and a mild open bite.
inline GuideAnswers SampleAnswers()
{
    GuideForm f = InitialGuideForm();
    for (GuideControl c : {GuideControl::daapinh, GuideControl::menor, GuideControl::dmrel, GuideControl::dpadq,
                           GuideControl::clsim, GuideControl::horcl2, GuideControl::sem, GuideControl::aberta,
                           GuideControl::suave})
        SetGuideControl(f, c, true);
    return f.answers();
}

inline QByteArray SampleBytes(bool withGuide)
{
    TweedSheet s = SampleSheet();
    s.guideDone = withGuide;
    s.guide = withGuide ? SampleAnswers() : GuideAnswers{};
    return EncodeTweed(s);
}

}  // namespace qv::test
