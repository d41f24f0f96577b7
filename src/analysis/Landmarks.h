#pragma once
// The cephalometric landmarks of a tracing and the pixel spacing that turns image pixels into
// millimetres. The first twenty are the Tweed-Merrifield tracing's, in the order the clinician
// places them; the others serve the further analyses and are placed only when one asks for them.

#include <QPointF>
#include <QString>

#include <array>
#include <bitset>
#include <optional>
#include <span>
#include <vector>

namespace qv {

enum class Landmark {
    S, N, Po, Or, ENA, ENP, A, B, Ar, Rp, Tg, Me, Ii, Ai, Is, OclP, OclA, Ls, Li, PogSoft,
    Pog, Gn, Go, Co, Ba, Pt, As, Prn, Sn, Cm,
    D, Pm, Dc, R1, R2, R3, R4, U6, NSoft,
};
inline constexpr int kLandmarkCount = 39;
// The Tweed-Merrifield tracing's own points come first.
inline constexpr int kTweedLandmarkCount = 20;

struct LandmarkInfo {
    const char* code;   // the name in the tracing file and on the radiograph ("Pog'")
    const char* name;   // shown while the point is awaited
    const char* hint;   // one line on where to put it
};

const LandmarkInfo& Info(Landmark l);
QString LandmarkCode(Landmark l);
std::optional<Landmark> LandmarkFromCode(const QString& code);
inline int Index(Landmark l) { return int(l); }
// "S, N, A": the codes of the points, as messages and reports name them.
QString LandmarkCodes(const std::vector<Landmark>& points);
inline Landmark LandmarkAt(int index) { return Landmark(index); }

// Image pixel coordinates: x to the right, y down, origin at the top-left corner of the image.
class LandmarkSet {
public:
    bool has(Landmark l) const { return m_placed.test(size_t(l)); }
    QPointF at(Landmark l) const { return m_points[size_t(l)]; }
    std::optional<QPointF> get(Landmark l) const { return has(l) ? std::optional<QPointF>(at(l)) : std::nullopt; }
    void set(Landmark l, QPointF p)
    {
        m_points[size_t(l)] = p;
        m_placed.set(size_t(l));
    }
    void set(Landmark l, std::optional<QPointF> p)
    {
        if (p)
            set(l, *p);
        else
            remove(l);
    }
    void remove(Landmark l)
    {
        m_points[size_t(l)] = {};
        m_placed.reset(size_t(l));
    }
    int count() const { return int(m_placed.count()); }
    // Whether the Tweed-Merrifield twenty are all placed.
    bool complete() const { return !firstMissing(); }
    // The first of the Tweed-Merrifield twenty, in placing order, still missing.
    std::optional<Landmark> firstMissing() const;
    // The first of `order` still missing.
    std::optional<Landmark> firstMissing(std::span<const Landmark> order) const;
    bool operator==(const LandmarkSet&) const = default;

private:
    std::array<QPointF, kLandmarkCount> m_points{};
    std::bitset<kLandmarkCount> m_placed;
};

// A yes or no for each landmark (those still only proposed, say).
using LandmarkFlags = std::bitset<kLandmarkCount>;

// What any radiograph's pixels can measure, in millimetres per pixel: a spacing outside this
// (a slip of the decimal point, a damaged file) is no calibration.
inline constexpr double kSmallestSpacing = 1e-4;
inline constexpr double kLargestSpacing = 100;
inline bool IsSaneSpacing(double mmPerPixel) { return mmPerPixel >= kSmallestSpacing && mmPerPixel <= kLargestSpacing; }
// No point of any tracing lies this many pixels from the image's corner.
inline constexpr double kFarthestCoordinate = 1e6;

// Millimetres per pixel along x (sx) and along y (sy); unknown until calibrated.
struct Calibration {
    double sx = 0;
    double sy = 0;
    bool known() const { return IsSaneSpacing(sx) && IsSaneSpacing(sy); }
    static Calibration none() { return {}; }
    bool operator==(const Calibration&) const = default;
};

}  // namespace qv
