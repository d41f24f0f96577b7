#pragma once
// A measure of the shipped analyses named as the clinician reads it: K("Steiner", "SNA").

#include "analysis/CephMeasures.h"

#include <gtest/gtest.h>

namespace qv::test {

inline CephKey K(const char* title, const char* caption)
{
    const auto k = FindMeasure(ShippedAnalyses(), QString::fromUtf8(title), QString::fromUtf8(caption));
    if (!k)
        ADD_FAILURE() << "no measure " << caption << " in " << title;
    return k.value_or(CephKey{});
}

inline const MeasureDefinition& Def(CephKey k) { return MeasureOf(ShippedAnalyses(), k); }
inline QString Caption(CephKey k) { return Def(k).caption; }
inline QString TitleOf(CephKey k) { return ShippedAnalyses().analyses[size_t(k.analysis)].title; }

}  // namespace qv::test
