#include "analysis/TracingValues.h"

#include "analysis/ResultText.h"

#include <QStringList>

#include <utility>

namespace qv {

const std::array<TracingField, kMeasureCount>& TracingFields()
{
    using F = RealFamily;
    // Fields that take a sign; the Tweed field of each comes from its measurement.
    static const std::array<TracingField, kMeasureCount> table = [] {
        const std::array<std::pair<QString TracingValues::*, F>, kMeasureCount> members = {{
            {&TracingValues::fma, F::Positive},  {&TracingValues::fmia, F::Positive}, {&TracingValues::impa, F::Positive},
            {&TracingValues::plOcl, F::Positive}, {&TracingValues::sna, F::Positive}, {&TracingValues::snb, F::Positive},
            {&TracingValues::aoBo, F::Signed},   {&TracingValues::angZ, F::Positive}, {&TracingValues::ls, F::Signed},
            {&TracingValues::qt, F::Signed},     {&TracingValues::afa, F::Positive},  {&TracingValues::afp, F::Positive},
        }};
        std::array<TracingField, kMeasureCount> out{};
        for (int i = 0; i < kMeasureCount; ++i) {
            const Measure m = Measure(i);
            out[size_t(i)] = {m, members[size_t(i)].first, members[size_t(i)].second, &TweedFieldOf(m)};
        }
        return out;
    }();
    return table;
}

const TracingField& FieldOf(Measure m) { return TracingFields()[size_t(m)]; }

TracingValues MakeTracingValues(const Measurements& m)
{
    TracingValues v;
    for (const TracingField& f : TracingFields()) {
        const MeasureResult& r = m[f.measure];
        if (r.ok())
            v.*(f.member) = NormaliseRealText(FormatReal(0, 1, r.value), f.family);
    }
    if (m[Measure::FMIA].ok())
        v.fmia = NormaliseRealText(FormatReal(0, 1, 180.0 - ParseReal(v.fma) - ParseReal(v.impa)), RealFamily::Positive);
    return v;
}

QStringList DropOverlongValues(TracingValues& v)
{
    QStringList dropped;
    for (const TracingField& f : TracingFields()) {
        QString& text = v.*(f.member);
        if (text.size() > f.tweed->capacity) {
            dropped << ShortCaption(f);
            text.clear();
        }
    }
    return dropped;
}

QString ShortCaption(const TracingField& f) { return f.tweed->titleText(); }

void ApplyTracingValues(const TracingValues& v, TweedSheet& sheet)
{
    for (const TracingField& f : TracingFields()) {
        const QString& text = v.*(f.member);
        if (!text.isEmpty())
            sheet.*(f.tweed->input) = text;
    }
}

QString StatusText(const MeasureResult& r, Measure m, const LandmarkSet& points)
{
    // Worded as every other measure is (ResultText.h).
    std::vector<Landmark> missing;
    for (Landmark l : RequiredLandmarks(m))
        if (!points.has(l))
            missing.push_back(l);
    return NotMeasuredText(r, missing);
}

}  // namespace qv
