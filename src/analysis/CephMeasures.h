#pragma once
// The cephalometric analyses a tracing measures besides filling the Tweed page: each measurement
// is a small geometric definition over landmarks in millimetres, an analysis is a list of them,
// and every one carries the norm shipped with the program (the clinic may keep its own, see
// CephNorms.h). The Tweed-Merrifield twelve are taken from MeasureTracing unchanged.

#include "analysis/Landmarks.h"
#include "analysis/TracingGeometry.h"

#include <QString>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace qv {

enum class CephAnalysis { Tweed, Steiner, Downs, McNamara, Jarabak, Ricketts, SoftTissue, Wits };
inline constexpr int kCephAnalysisCount = 8;

enum class CephUnit { Degree, Millimetre, Percent };

// Every measurement of every analysis, grouped by analysis in the order they are shown.
enum class Ceph {
    TweedFMA, TweedFMIA, TweedIMPA, TweedPlOcl, TweedSNA, TweedSNB, TweedAoBo, TweedAngZ, TweedLS,
    TweedQT, TweedAFA, TweedAFP,
    SteinerSNA, SteinerSNB, SteinerANB, Steiner1NAAngle, Steiner1NADistance, Steiner1NBAngle,
    Steiner1NBDistance, SteinerPogNB, SteinerInterincisal, SteinerOcclusalSN, SteinerGoGnSN,
    DownsFacial, DownsConvexity, DownsABPlane, DownsYAxis, DownsOcclusalFH, DownsInterincisal, DownsFMA,
    DownsIncisorOcclusal, DownsUpperIncisorAPog, DownsIncisorMandibular,
    McNamaraCoA, McNamaraCoGn, McNamaraENAMe, McNamaraDifference, McNamaraANperp, McNamaraPogNperp,
    McNamaraIncisorAVertical, McNamaraLowerIncisorAPog,
    JarabakSaddle, JarabakArticular, JarabakGonial, JarabakSum, JarabakSN, JarabakSAr, JarabakArGo,
    JarabakGoMe, JarabakHeightRatio,
    RickettsFacialAxis, RickettsFacialAngle, RickettsFMA, RickettsConvexity, RickettsLowerIncisorAPog,
    RickettsLowerIncisorAPogAngle, RickettsLowerLipE,
    SoftNasolabial, SoftUpperLipE, SoftH, SoftZ,
    WitsAoBo,
};
inline constexpr int kCephCount = int(Ceph::WitsAoBo) + 1;

struct CephNorm {
    double mean = 0;
    double sd = 0;
    bool operator==(const CephNorm&) const = default;
};

struct CephAnalysisInfo {
    CephAnalysis analysis;
    const char* title;  // as shown, and the analysis's key in Normas.json
};

struct CephMeasureInfo {
    Ceph key;
    CephAnalysis analysis;
    const char* caption;  // as shown, and the measure's key within its analysis in Normas.json
    CephUnit unit;
    std::optional<CephNorm> norm;  // shipped default; none where it depends on size or sex
};

const CephAnalysisInfo& Info(CephAnalysis a);
const CephMeasureInfo& Info(Ceph m);
QString Title(CephAnalysis a);
QString Caption(Ceph m);
QString UnitText(CephUnit u);  // "°", "mm", "%"
// The measurements of one analysis, in the order shown.
std::span<const Ceph> MeasuresOf(CephAnalysis a);
// Every landmark a measurement is computed from, in placing order.
const std::vector<Landmark>& RequiredLandmarks(Ceph m);
// What the chosen analyses need placed, in placing order (the Tweed twenty first).
std::vector<Landmark> LandmarksFor(std::span<const CephAnalysis> analyses);
// Those of `m`'s landmarks not placed yet.
std::vector<Landmark> MissingLandmarks(Ceph m, const LandmarkSet& points);

struct CephValues {
    std::array<MeasureResult, kCephCount> results{};
    const MeasureResult& operator[](Ceph m) const { return results[size_t(m)]; }
    MeasureResult& operator[](Ceph m) { return results[size_t(m)]; }
};

// Every measurement of every analysis. Without a calibration the angles use square pixels and
// the distances stay Uncalibrated, as the Tweed measurements do.
CephValues MeasureCephalometrics(const LandmarkSet& points, const Calibration& calibration);

}  // namespace qv
