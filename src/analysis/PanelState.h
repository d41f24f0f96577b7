#pragma once
// What the suggested-diagnosis panel shows, as plain data: the generation fills it,
// the panel widget displays it, the report and the Tweed file read it.

#include <QString>

#include <array>

namespace qv {

// Two thin lines crossing, with a tooth designation in each quadrant.
struct ExtractionCross {
    bool lines = false;                // both lines visible
    std::array<QString, 4> quadrants;  // upper-left, upper-right, lower-left, lower-right
    bool operator==(const ExtractionCross&) const = default;
};

struct PanelState {
    // Headings dsantinfo, dsmedinfo, dsposinfo, dsdescinfo.
    bool antInfo = false;
    bool medInfo = false;
    bool posInfo = false;
    bool descInfo = false;
    // Suggestion texts; "\r" starts a new line.
    QString dsant;
    QString dsmed;
    QString dsmed2;
    QString dspos;
    std::array<QString, 5> dsdesc;  // dsdesc, dsdesc2 .. dsdesc5
    // "ou" labels: ou (between dsmed and dsmed2), then ou2 .. ou5 (before skeletal slots 2 .. 5).
    bool ou = false;
    std::array<bool, 4> ouDesc{};
    // Crosses: a (Shape3/4), m (Shape5/6), m2 (Shape11/12), p (Shape8/7), d1 .. d4.
    ExtractionCross ant;
    ExtractionCross med;
    ExtractionCross med2;
    ExtractionCross pos;
    std::array<ExtractionCross, 4> desc;

    bool operator==(const PanelState&) const = default;
};

}  // namespace qv
