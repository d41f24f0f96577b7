#include "analysis/SpaceSums.h"

#include "entry/RealEntry.h"

#include <initializer_list>

namespace qv {

namespace {

double add(std::initializer_list<QString> texts)
{
    double total = 0;
    for (const QString& t : texts)
        total += ParseReal(t);
    return total;
}

}  // namespace

SpaceSums ComputeSpaceSums(const SpaceEntries& e)
{
    const auto& s = e.s;
    SpaceSums r;
    r.anaer = F1(add({s[5], s[6], s[7], s[8], s[9], s[10]}));
    r.anaep = F1(add({e.i06}));
    r.anmer = F1(add({s[2], s[3], s[4], s[11], s[12], s[13]}));
    r.anmep = F1(add({e.i03, e.i12}));
    r.anper = F1(add({s[0], s[1], s[14], s[15]}));
    r.anpep = F1(add({e.i01, e.i15}));
    return r;
}

}  // namespace qv
