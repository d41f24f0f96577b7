#pragma once
// The total space entry window's arithmetic: tooth-by-tooth space added up per area into the
// six space fields of the Tweed page.

#include <QString>

#include <array>

namespace qv {

struct SpaceEntries {
    std::array<QString, 16> s;         // required space, s01 .. s16, left to right
    QString i01, i03, i06, i12, i15;   // present space, one per group
};

struct SpaceSums {
    QString anaer, anaep;  // anterior: required, present
    QString anmer, anmep;  // middle
    QString anper, anpep;  // posterior
};

// Each addend read with ParseReal (empty counts as 0), added left to right, one decimal.
SpaceSums ComputeSpaceSums(const SpaceEntries& e);

}  // namespace qv
