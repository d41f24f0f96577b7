#pragma once
// The clinic's norms for the cephalometric analyses: the shipped defaults, or "Normas.json" in the
// working folder (mean and standard deviation per analysis and measure), and how far a measured
// value lies from its norm.
//   {"formato": "quorvel-normas", "versao": 1,
//    "normas": {"Steiner": {"SNA": {"media": 82, "dp": 2}, "Pog-NB": null, ...}, ...}}
// A measure the file leaves out keeps its shipped norm; null means it has none.

#include "analysis/CephMeasures.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace qv {

inline constexpr char kNormsFileName[] = "Normas.json";

class CephNorms {
public:
    static CephNorms defaults();
    const std::optional<CephNorm>& operator[](Ceph m) const { return m_norms[size_t(m)]; }
    void set(Ceph m, std::optional<CephNorm> n) { m_norms[size_t(m)] = n; }
    bool operator==(const CephNorms&) const = default;

private:
    std::array<std::optional<CephNorm>, kCephCount> m_norms{};
};

struct DecodedNorms {
    CephNorms norms;  // the shipped defaults when the file is refused
    QString error;    // "linha N: why", empty when the file was taken
    bool ok() const { return error.isEmpty(); }
};
DecodedNorms DecodeNorms(const QByteArray& bytes);
QByteArray EncodeNorms(const CephNorms& norms);

// Whether a value and its norm are sane to keep: finite, the deviation above zero, both within
// what any cephalometric measure can be.
bool IsSaneNorm(const CephNorm& n);

struct Deviation {
    enum Level { Within, Beyond1, Beyond2 };
    double sds = 0;  // (value - mean) / sd, from the value as shown (one decimal)
    Level level = Within;
};
std::optional<Deviation> DeviationOf(double value, const std::optional<CephNorm>& norm);
// "+1.05 DP", "-2.00 DP", "0.00 DP".
QString DeviationText(const Deviation& d);
// "82.0 ± 2.0"; empty without a norm.
QString NormText(const std::optional<CephNorm>& norm);

}  // namespace qv
