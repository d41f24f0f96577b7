#pragma once
// The twelve measurements of a tracing as the texts the Tweed page's fields take: one decimal,
// normalised as a field is when it is left, empty where the tracing cannot measure.

#include "entry/RealEntry.h"
#include "analysis/TracingGeometry.h"
#include "records/TweedModel.h"

#include <QString>
#include <QStringList>

namespace qv {

struct TracingValues {
    QString fma, fmia, impa, plOcl, sna, snb, aoBo, angZ, ls, qt, afa, afp;
    bool operator==(const TracingValues&) const = default;
};

// One row per measurement, in the Tweed page's order.
struct TracingField {
    Measure measure;
    QString TracingValues::*member;
    RealFamily family;
    const TweedField* tweed;  // the Tweed page's entry it fills

    QString caption() const { return tweed->captionText(); }  // as captioned on the Tweed page
};
const std::array<TracingField, kMeasureCount>& TracingFields();
const TracingField& FieldOf(Measure m);

// Texts of the measured values. FMIA is what the rounded FMA and IMPA leave of 180 degrees, so
// the three texts of the triangle add up to 180.0 as the clinician reads them.
TracingValues MakeTracingValues(const Measurements& m);

// Removes every text longer than its Tweed field holds (a field would keep it cut, and the
// file another value) and returns the captions of those removed, in the page's order.
QStringList DropOverlongValues(TracingValues& v);

// A field's caption without its norm: "AO - BO" for "AO - BO ( 0 a 4 mm)".
QString ShortCaption(const TracingField& f);

// The measured texts into the Tweed sheet; a measurement the tracing lacks leaves what was typed.
void ApplyTracingValues(const TracingValues& v, TweedSheet& sheet);

// What the list beside the image shows when a value is missing.
QString StatusText(const MeasureResult& r, Measure m, const LandmarkSet& points);

}  // namespace qv
