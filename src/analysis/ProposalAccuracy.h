#pragma once
// How close the proposed landmarks came to the clinician's own points on the clinic's tracings a
// model did not learn from: per landmark, the mean radial error and the shares within 2 and 4 mm.

#include "analysis/Landmarks.h"

#include <vector>

namespace qv {

struct LandmarkAccuracy {
    Landmark landmark = Landmark::S;
    int tracings = 0;          // held-out tracings that had the point
    double meanErrorMm = 0;    // mean distance between proposal and the clinician's point
    double within2mm = 0;      // share (0..1) of proposals within 2 mm
    double within4mm = 0;      // within 4 mm
    bool operator==(const LandmarkAccuracy&) const = default;
};

struct ProposalAccuracy {
    int tracings = 0;  // tracings the model learned from
    int folds = 0;     // each tracing was held out once, in this many parts
    std::vector<LandmarkAccuracy> landmarks;  // in landmark order
    bool operator==(const ProposalAccuracy&) const = default;
    const LandmarkAccuracy* find(Landmark l) const
    {
        for (const LandmarkAccuracy& a : landmarks)
            if (a.landmark == l)
                return &a;
        return nullptr;
    }
};

}  // namespace qv
