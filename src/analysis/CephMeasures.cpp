#include "analysis/CephMeasures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

using L = Landmark;

// How a measurement is computed from its points a, b, c, d (in millimetres) or from earlier ones.
enum class Op {
    Tweed,       // the tracing's own measure, plus offset
    Angle,       // angle(a - b, c - d), 0..180
    AcuteLines,  // the acute angle between the lines a-b and c-d
    Dist,        // signed distance from a to the line b-c, positive anterior
    Proj,        // (a - b) along Po->Or
    Length,      // |a - b|
    Ratio,       // |a - b| / |c - d| x 100
    Difference,  // first - second
    Sum,         // first + second + third
    Convexity,   // 180 - angle(N - A, Pog - A), negative when A lies behind N-Pog
    ABPlane,     // angle(B - A, Pog - N), negative when A lies ahead of B relative to N-Pog
};

struct Definition {
    Ceph key;
    Op op;
    std::array<L, 4> p{};
    Measure tweed = Measure::FMA;
    double offset = 0;
    std::array<Ceph, 3> from{};
};

constexpr CephAnalysisInfo kAnalyses[kCephAnalysisCount] = {
    {CephAnalysis::Tweed, "Tweed-Merrifield"}, {CephAnalysis::Steiner, "Steiner"},
    {CephAnalysis::Downs, "Downs"},           {CephAnalysis::McNamara, "McNamara"},
    {CephAnalysis::Jarabak, "Jarabak"},       {CephAnalysis::Ricketts, "Ricketts (resumo)"},
    {CephAnalysis::SoftTissue, "Tecidos moles"}, {CephAnalysis::Wits, "Wits"},
};

using A = CephAnalysis;
using U = CephUnit;
constexpr std::optional<CephNorm> kNone = std::nullopt;
constexpr std::optional<CephNorm> N(double mean, double sd) { return CephNorm{mean, sd}; }

// The Tweed page's ranges read as one standard deviation either side of their middle.
const CephMeasureInfo kMeasures[kCephCount] = {
    {Ceph::TweedFMA, A::Tweed, "FMA", U::Degree, N(25, 3)},
    {Ceph::TweedFMIA, A::Tweed, "FMIA", U::Degree, N(66.5, 1.5)},
    {Ceph::TweedIMPA, A::Tweed, "IMPA", U::Degree, N(91, 3)},
    {Ceph::TweedPlOcl, A::Tweed, "Pl. ocl.-Hf", U::Degree, N(10, 2)},
    {Ceph::TweedSNA, A::Tweed, "SNA", U::Degree, N(82, 2)},
    {Ceph::TweedSNB, A::Tweed, "SNB", U::Degree, N(80, 2)},
    {Ceph::TweedAoBo, A::Tweed, "AO-BO", U::Millimetre, N(2, 2)},
    {Ceph::TweedAngZ, A::Tweed, "Ang. Z", U::Degree, N(75, 5)},
    {Ceph::TweedLS, A::Tweed, "LS", U::Millimetre, kNone},
    {Ceph::TweedQT, A::Tweed, "QT", U::Millimetre, kNone},
    {Ceph::TweedAFA, A::Tweed, "AFA", U::Millimetre, kNone},
    {Ceph::TweedAFP, A::Tweed, "AFP", U::Millimetre, kNone},

    {Ceph::SteinerSNA, A::Steiner, "SNA", U::Degree, N(82, 2)},
    {Ceph::SteinerSNB, A::Steiner, "SNB", U::Degree, N(80, 2)},
    {Ceph::SteinerANB, A::Steiner, "ANB", U::Degree, N(2, 2)},
    {Ceph::Steiner1NAAngle, A::Steiner, "1.NA", U::Degree, N(22, 2)},
    {Ceph::Steiner1NADistance, A::Steiner, "1-NA", U::Millimetre, N(4, 1)},
    {Ceph::Steiner1NBAngle, A::Steiner, "1.NB", U::Degree, N(25, 2)},
    {Ceph::Steiner1NBDistance, A::Steiner, "1-NB", U::Millimetre, N(4, 1)},
    {Ceph::SteinerPogNB, A::Steiner, "Pog-NB", U::Millimetre, kNone},
    {Ceph::SteinerInterincisal, A::Steiner, "1.1 interincisivo", U::Degree, N(131, 6)},
    {Ceph::SteinerOcclusalSN, A::Steiner, "Ocl.SN", U::Degree, N(14, 3)},
    {Ceph::SteinerGoGnSN, A::Steiner, "GoGn.SN", U::Degree, N(32, 5)},

    {Ceph::DownsFacial, A::Downs, "ângulo facial", U::Degree, N(87.8, 3.6)},
    {Ceph::DownsConvexity, A::Downs, "convexidade", U::Degree, N(0, 5.1)},
    {Ceph::DownsABPlane, A::Downs, "plano AB", U::Degree, N(-4.6, 3.7)},
    {Ceph::DownsYAxis, A::Downs, "eixo Y", U::Degree, N(59.4, 3.8)},
    {Ceph::DownsOcclusalFH, A::Downs, "plano oclusal-FH", U::Degree, N(9.3, 3.8)},
    {Ceph::DownsInterincisal, A::Downs, "1.1 interincisivo", U::Degree, N(135.4, 5.8)},
    {Ceph::DownsFMA, A::Downs, "FMA", U::Degree, N(21.9, 3.2)},
    {Ceph::DownsIncisorOcclusal, A::Downs, "1.plano oclusal", U::Degree, N(14.5, 3.5)},
    {Ceph::DownsUpperIncisorAPog, A::Downs, "1s-APog", U::Millimetre, N(2.7, 1.8)},
    {Ceph::DownsIncisorMandibular, A::Downs, "1.PM", U::Degree, N(1.4, 3.8)},

    {Ceph::McNamaraCoA, A::McNamara, "Co-A", U::Millimetre, kNone},
    {Ceph::McNamaraCoGn, A::McNamara, "Co-Gn", U::Millimetre, kNone},
    {Ceph::McNamaraENAMe, A::McNamara, "ENA-Me", U::Millimetre, kNone},
    {Ceph::McNamaraDifference, A::McNamara, "diferença maxilomandibular", U::Millimetre, kNone},
    {Ceph::McNamaraANperp, A::McNamara, "A-Nperp", U::Millimetre, N(0, 2)},
    {Ceph::McNamaraPogNperp, A::McNamara, "Pog-Nperp", U::Millimetre, N(-2, 3)},
    {Ceph::McNamaraIncisorAVertical, A::McNamara, "1-A vertical", U::Millimetre, N(5, 1)},
    {Ceph::McNamaraLowerIncisorAPog, A::McNamara, "1i-APog", U::Millimetre, N(2, 1)},

    {Ceph::JarabakSaddle, A::Jarabak, "ângulo sela", U::Degree, N(123, 5)},
    {Ceph::JarabakArticular, A::Jarabak, "ângulo articular", U::Degree, N(143, 6)},
    {Ceph::JarabakGonial, A::Jarabak, "ângulo goníaco", U::Degree, N(130, 7)},
    {Ceph::JarabakSum, A::Jarabak, "soma", U::Degree, N(396, 6)},
    {Ceph::JarabakSN, A::Jarabak, "S-N", U::Millimetre, N(71, 3)},
    {Ceph::JarabakSAr, A::Jarabak, "S-Ar", U::Millimetre, N(32, 3)},
    {Ceph::JarabakArGo, A::Jarabak, "Ar-Go", U::Millimetre, N(44, 5)},
    {Ceph::JarabakGoMe, A::Jarabak, "Go-Me", U::Millimetre, N(71, 5)},
    {Ceph::JarabakHeightRatio, A::Jarabak, "S-Go / N-Me", U::Percent, N(63.5, 1.5)},

    {Ceph::RickettsFacialAxis, A::Ricketts, "eixo facial", U::Degree, N(90, 3.5)},
    {Ceph::RickettsFacialAngle, A::Ricketts, "ângulo facial", U::Degree, N(87, 3)},
    {Ceph::RickettsFMA, A::Ricketts, "FMA", U::Degree, N(26, 4.5)},
    {Ceph::RickettsConvexity, A::Ricketts, "convexidade", U::Millimetre, N(2, 2)},
    {Ceph::RickettsLowerIncisorAPog, A::Ricketts, "1i-APog", U::Millimetre, N(1, 2)},
    {Ceph::RickettsLowerIncisorAPogAngle, A::Ricketts, "1i.APog", U::Degree, N(22, 4)},
    {Ceph::RickettsLowerLipE, A::Ricketts, "lábio inferior-E", U::Millimetre, N(-2, 2)},

    {Ceph::SoftNasolabial, A::SoftTissue, "ângulo nasolabial", U::Degree, N(102, 8)},
    {Ceph::SoftUpperLipE, A::SoftTissue, "lábio superior-E", U::Millimetre, N(-4, 2)},
    {Ceph::SoftH, A::SoftTissue, "ângulo H", U::Degree, N(10, 3)},
    {Ceph::SoftZ, A::SoftTissue, "ângulo Z", U::Degree, N(75, 5)},

    {Ceph::WitsAoBo, A::Wits, "AO-BO", U::Millimetre, N(0, 2)},
};

Definition tweed(Ceph k, Measure m, double offset = 0) { return {k, Op::Tweed, {}, m, offset, {}}; }
Definition op(Ceph k, Op o, std::array<L, 4> p) { return {k, o, p, Measure::FMA, 0, {}}; }
Definition derived(Ceph k, Op o, std::array<Ceph, 3> from) { return {k, o, {}, Measure::FMA, 0, from}; }

// Every definition, in the order of Ceph, so later ones may use earlier results.
const std::array<Definition, kCephCount>& Definitions()
{
    static const std::array<Definition, kCephCount> table = {{
        tweed(Ceph::TweedFMA, Measure::FMA),
        tweed(Ceph::TweedFMIA, Measure::FMIA),
        tweed(Ceph::TweedIMPA, Measure::IMPA),
        tweed(Ceph::TweedPlOcl, Measure::PlOcl),
        tweed(Ceph::TweedSNA, Measure::SNA),
        tweed(Ceph::TweedSNB, Measure::SNB),
        tweed(Ceph::TweedAoBo, Measure::AoBo),
        tweed(Ceph::TweedAngZ, Measure::AngZ),
        tweed(Ceph::TweedLS, Measure::LS),
        tweed(Ceph::TweedQT, Measure::QT),
        tweed(Ceph::TweedAFA, Measure::AFA),
        tweed(Ceph::TweedAFP, Measure::AFP),

        tweed(Ceph::SteinerSNA, Measure::SNA),
        tweed(Ceph::SteinerSNB, Measure::SNB),
        derived(Ceph::SteinerANB, Op::Difference, {Ceph::SteinerSNA, Ceph::SteinerSNB}),
        op(Ceph::Steiner1NAAngle, Op::Angle, {L::Is, L::As, L::A, L::N}),
        op(Ceph::Steiner1NADistance, Op::Dist, {L::Is, L::N, L::A}),
        op(Ceph::Steiner1NBAngle, Op::Angle, {L::Ii, L::Ai, L::N, L::B}),
        op(Ceph::Steiner1NBDistance, Op::Dist, {L::Ii, L::N, L::B}),
        op(Ceph::SteinerPogNB, Op::Dist, {L::Pog, L::N, L::B}),
        op(Ceph::SteinerInterincisal, Op::Angle, {L::As, L::Is, L::Ai, L::Ii}),
        op(Ceph::SteinerOcclusalSN, Op::AcuteLines, {L::OclP, L::OclA, L::S, L::N}),
        op(Ceph::SteinerGoGnSN, Op::AcuteLines, {L::Go, L::Gn, L::S, L::N}),

        op(Ceph::DownsFacial, Op::Angle, {L::Po, L::Or, L::Pog, L::N}),
        op(Ceph::DownsConvexity, Op::Convexity, {}),
        op(Ceph::DownsABPlane, Op::ABPlane, {}),
        op(Ceph::DownsYAxis, Op::Angle, {L::Or, L::Po, L::Gn, L::S}),
        tweed(Ceph::DownsOcclusalFH, Measure::PlOcl),
        op(Ceph::DownsInterincisal, Op::Angle, {L::As, L::Is, L::Ai, L::Ii}),
        tweed(Ceph::DownsFMA, Measure::FMA),
        {Ceph::DownsIncisorOcclusal, Op::Angle, {L::Ii, L::Ai, L::OclP, L::OclA}, Measure::FMA, -90, {}},
        op(Ceph::DownsUpperIncisorAPog, Op::Dist, {L::Is, L::A, L::Pog}),
        tweed(Ceph::DownsIncisorMandibular, Measure::IMPA, -90),

        op(Ceph::McNamaraCoA, Op::Length, {L::Co, L::A}),
        op(Ceph::McNamaraCoGn, Op::Length, {L::Co, L::Gn}),
        op(Ceph::McNamaraENAMe, Op::Length, {L::ENA, L::Me}),
        derived(Ceph::McNamaraDifference, Op::Difference, {Ceph::McNamaraCoGn, Ceph::McNamaraCoA}),
        op(Ceph::McNamaraANperp, Op::Proj, {L::A, L::N}),
        op(Ceph::McNamaraPogNperp, Op::Proj, {L::Pog, L::N}),
        op(Ceph::McNamaraIncisorAVertical, Op::Proj, {L::Is, L::A}),
        op(Ceph::McNamaraLowerIncisorAPog, Op::Dist, {L::Ii, L::A, L::Pog}),

        op(Ceph::JarabakSaddle, Op::Angle, {L::N, L::S, L::Ar, L::S}),
        op(Ceph::JarabakArticular, Op::Angle, {L::S, L::Ar, L::Go, L::Ar}),
        op(Ceph::JarabakGonial, Op::Angle, {L::Ar, L::Go, L::Me, L::Go}),
        derived(Ceph::JarabakSum, Op::Sum, {Ceph::JarabakSaddle, Ceph::JarabakArticular, Ceph::JarabakGonial}),
        op(Ceph::JarabakSN, Op::Length, {L::S, L::N}),
        op(Ceph::JarabakSAr, Op::Length, {L::S, L::Ar}),
        op(Ceph::JarabakArGo, Op::Length, {L::Ar, L::Go}),
        op(Ceph::JarabakGoMe, Op::Length, {L::Go, L::Me}),
        op(Ceph::JarabakHeightRatio, Op::Ratio, {L::S, L::Go, L::N, L::Me}),

        op(Ceph::RickettsFacialAxis, Op::Angle, {L::Ba, L::N, L::Gn, L::Pt}),
        op(Ceph::RickettsFacialAngle, Op::Angle, {L::Po, L::Or, L::Pog, L::N}),
        tweed(Ceph::RickettsFMA, Measure::FMA),
        op(Ceph::RickettsConvexity, Op::Dist, {L::A, L::N, L::Pog}),
        op(Ceph::RickettsLowerIncisorAPog, Op::Dist, {L::Ii, L::A, L::Pog}),
        op(Ceph::RickettsLowerIncisorAPogAngle, Op::Angle, {L::Ii, L::Ai, L::A, L::Pog}),
        op(Ceph::RickettsLowerLipE, Op::Dist, {L::Li, L::Prn, L::PogSoft}),

        op(Ceph::SoftNasolabial, Op::Angle, {L::Cm, L::Sn, L::Ls, L::Sn}),
        op(Ceph::SoftUpperLipE, Op::Dist, {L::Ls, L::Prn, L::PogSoft}),
        op(Ceph::SoftH, Op::Angle, {L::Ls, L::PogSoft, L::N, L::B}),
        tweed(Ceph::SoftZ, Measure::AngZ),

        tweed(Ceph::WitsAoBo, Measure::AoBo),
    }};
    return table;
}

// How many earlier measurements a definition is made of.
size_t sources(const Definition& d) { return d.op == Op::Sum ? 3 : d.op == Op::Difference ? 2 : 0; }

// The points of a definition, without the ones every signed distance and projection also need.
std::vector<L> ownPoints(const Definition& d)
{
    switch (d.op) {
    case Op::Tweed:
        return RequiredLandmarks(d.tweed);
    case Op::Angle:
    case Op::AcuteLines:
    case Op::Ratio:
        return {d.p[0], d.p[1], d.p[2], d.p[3]};
    case Op::Dist:
        return {d.p[0], d.p[1], d.p[2], L::S, L::N};  // S->N tells which side is anterior
    case Op::Proj:
        return {d.p[0], d.p[1], L::Po, L::Or};
    case Op::Length:
        return {d.p[0], d.p[1]};
    case Op::Convexity:
        return {L::N, L::A, L::Pog, L::S};
    case Op::ABPlane:
        return {L::N, L::A, L::B, L::Pog, L::S};
    case Op::Difference:
    case Op::Sum:
        return {};  // the points of the measurements it is made of
    }
    return {};
}

std::vector<L> inPlacingOrder(std::vector<L> ls)
{
    std::sort(ls.begin(), ls.end());
    ls.erase(std::unique(ls.begin(), ls.end()), ls.end());
    return ls;
}

bool needsCalibration(const Definition& d)
{
    switch (d.op) {
    case Op::Tweed:
        return IsDistance(d.tweed);
    case Op::Dist:
    case Op::Proj:
    case Op::Length:
        return true;
    case Op::Difference:
    case Op::Sum:
        return Info(d.key).unit == CephUnit::Millimetre;
    default:
        return false;
    }
}

struct Vec {
    double x = 0, y = 0;
    Vec operator-(Vec o) const { return {x - o.x, y - o.y}; }
};
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double length(Vec a) { return std::hypot(a.x, a.y); }
constexpr double kTiny = 1e-9;

std::optional<double> angle(Vec a, Vec b)
{
    if (length(a) < kTiny || length(b) < kTiny)
        return std::nullopt;
    return std::atan2(std::abs(cross(a, b)), dot(a, b)) * 180.0 / std::numbers::pi;
}

class Measurer {
public:
    Measurer(const LandmarkSet& points, const Calibration& c) : m_points(points)
    {
        m_sx = c.known() ? c.sx : 1.0;
        m_sy = c.known() ? c.sy : 1.0;
    }
    Vec mm(L l) const { return {m_points.at(l).x() * m_sx, m_points.at(l).y() * m_sy}; }

    // Which way anterior lies along x: the side of N from S; none for a vertical S-N.
    std::optional<double> anterior() const
    {
        const double dx = mm(L::N).x - mm(L::S).x;
        if (std::abs(dx) < kTiny)
            return std::nullopt;
        return dx > 0 ? 1.0 : -1.0;
    }
    // Signed distance from p to the line a-b, positive on the anterior side.
    std::optional<double> dist(Vec p, Vec a, Vec b) const
    {
        const Vec d = b - a;
        const double n = length(d);
        const auto ant = anterior();
        if (n < kTiny || !ant || std::abs(d.y) < kTiny)
            return std::nullopt;
        Vec normal{-d.y / n, d.x / n};
        if (normal.x * *ant < 0)
            normal = {-normal.x, -normal.y};
        return dot(p - a, normal);
    }
    std::optional<double> proj(Vec v) const
    {
        const Vec fh = mm(L::Or) - mm(L::Po);
        const double n = length(fh);
        if (n < kTiny)
            return std::nullopt;
        return dot(v, fh) / n;
    }

    std::optional<double> compute(const Definition& d, const Measurements& tweed, const CephValues& done) const
    {
        const auto P = [&](int i) { return mm(d.p[size_t(i)]); };
        switch (d.op) {
        case Op::Tweed: {
            const MeasureResult& r = tweed[d.tweed];
            return r.ok() ? std::optional<double>(r.value + d.offset) : std::nullopt;
        }
        case Op::Angle: {
            const auto a = angle(P(0) - P(1), P(2) - P(3));
            return a ? std::optional<double>(*a + d.offset) : std::nullopt;
        }
        case Op::AcuteLines: {
            const auto a = angle(P(1) - P(0), P(3) - P(2));
            return a ? std::optional<double>(std::min(*a, 180.0 - *a)) : std::nullopt;
        }
        case Op::Dist:
            return dist(P(0), P(1), P(2));
        case Op::Proj:
            return proj(P(0) - P(1));
        case Op::Length:
            return length(P(0) - P(1));
        case Op::Ratio: {
            const double den = length(P(2) - P(3));
            return den < kTiny ? std::nullopt : std::optional<double>(length(P(0) - P(1)) / den * 100.0);
        }
        case Op::Difference:
        case Op::Sum: {
            double total = 0;
            for (size_t i = 0; i < sources(d); ++i) {
                const MeasureResult& r = done[d.from[i]];
                if (!r.ok())
                    return std::nullopt;
                total += (d.op == Op::Difference && i == 1) ? -r.value : r.value;
            }
            return total;
        }
        case Op::Convexity: {
            const auto a = angle(mm(L::N) - mm(L::A), mm(L::Pog) - mm(L::A));
            const auto side = dist(mm(L::A), mm(L::N), mm(L::Pog));
            if (!a || !side)
                return std::nullopt;
            return *side < 0 ? -(180.0 - *a) : 180.0 - *a;
        }
        case Op::ABPlane: {
            const auto a = angle(mm(L::B) - mm(L::A), mm(L::Pog) - mm(L::N));
            const auto da = dist(mm(L::A), mm(L::N), mm(L::Pog));
            const auto db = dist(mm(L::B), mm(L::N), mm(L::Pog));
            if (!a || !da || !db)
                return std::nullopt;
            return *da > *db ? -*a : *a;
        }
        }
        return std::nullopt;
    }

private:
    const LandmarkSet& m_points;
    double m_sx = 1, m_sy = 1;
};

}  // namespace

const CephAnalysisInfo& Info(CephAnalysis a) { return kAnalyses[size_t(a)]; }
const CephMeasureInfo& Info(Ceph m) { return kMeasures[size_t(m)]; }
QString Title(CephAnalysis a) { return QString::fromUtf8(Info(a).title); }
QString Caption(Ceph m) { return QString::fromUtf8(Info(m).caption); }

QString UnitText(CephUnit u)
{
    switch (u) {
    case CephUnit::Degree:
        return QStringLiteral("°");
    case CephUnit::Millimetre:
        return QStringLiteral("mm");
    case CephUnit::Percent:
        return QStringLiteral("%");
    }
    return {};
}

std::span<const Ceph> MeasuresOf(CephAnalysis a)
{
    static const auto groups = [] {
        std::array<std::vector<Ceph>, kCephAnalysisCount> g;
        for (const CephMeasureInfo& m : kMeasures)
            g[size_t(m.analysis)].push_back(m.key);
        return g;
    }();
    return groups[size_t(a)];
}

const std::vector<Landmark>& RequiredLandmarks(Ceph m)
{
    static const auto table = [] {
        std::array<std::vector<L>, kCephCount> t;
        for (size_t i = 0; i < Definitions().size(); ++i) {
            const Definition& d = Definitions()[i];
            Q_ASSERT(size_t(d.key) == i);  // derived measurements read earlier rows
            std::vector<L> ls = ownPoints(d);
            for (size_t k = 0; k < sources(d); ++k) {
                const auto& from = t[size_t(d.from[k])];
                ls.insert(ls.end(), from.begin(), from.end());
            }
            t[size_t(d.key)] = inPlacingOrder(std::move(ls));
        }
        return t;
    }();
    return table[size_t(m)];
}

std::vector<Landmark> LandmarksFor(std::span<const CephAnalysis> analyses)
{
    std::vector<L> all;
    for (CephAnalysis a : analyses)
        for (Ceph m : MeasuresOf(a))
            all.insert(all.end(), RequiredLandmarks(m).begin(), RequiredLandmarks(m).end());
    return inPlacingOrder(std::move(all));
}

std::vector<Landmark> MissingLandmarks(Ceph m, const LandmarkSet& points)
{
    std::vector<L> missing;
    for (L l : RequiredLandmarks(m))
        if (!points.has(l))
            missing.push_back(l);
    return missing;
}

CephValues MeasureCephalometrics(const LandmarkSet& points, const Calibration& calibration)
{
    const Measurements tweed = MeasureTracing(points, calibration);
    const Measurer measurer(points, calibration);
    CephValues out;
    for (const Definition& d : Definitions()) {
        MeasureResult& r = out[d.key];
        if (!MissingLandmarks(d.key, points).empty()) {
            r.status = MeasureResult::Missing;
            continue;
        }
        if (needsCalibration(d) && !calibration.known()) {
            r.status = MeasureResult::Uncalibrated;
            continue;
        }
        const auto v = measurer.compute(d, tweed, out);
        r = v && std::isfinite(*v) ? MeasureResult{MeasureResult::Value, *v} : MeasureResult{MeasureResult::Undefined, 0};
    }
    return out;
}

}  // namespace qv
