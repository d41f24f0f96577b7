#pragma once
// The clinic's norms for the cephalometric analyses: the shipped defaults, or "Normas.json" in the
// working folder (mean and standard deviation per analysis and measure), and how far a measured
// value lies from its norm.
//   {"formato": "quorvel-normas", "versao": 1,
//    "normas": {"Steiner": {"SNA": {"media": 82, "dp": 2}, "Pog-NB": null, ...}, ...}}
// A measure the file leaves out keeps its shipped norm; null means it has none.

#include "analysis/CephMeasures.h"
#include "analysis/ResultText.h"

#include <QByteArray>
#include <QString>

#include <vector>
#include <optional>

namespace qv {

inline constexpr char kNormsFileName[] = "Normas.json";

// The norms of every measure of a catalogue's analyses, each with its definition's own.
class CephNorms {
public:
    // Each measure's norm as its definition gives it.
    static CephNorms defaults(const AnalysisCatalogue& catalogue = ShippedAnalyses());
    // These norms over another catalogue: a measure both have keeps its norm here, the others
    // take their definition's.
    CephNorms alignedTo(const AnalysisCatalogue& catalogue) const;
    // The same measures with their definitions' norms ("Restaurar padrões").
    CephNorms restored() const;
    // None for a key the catalogue did not have.
    const std::optional<CephNorm>& operator[](CephKey k) const;
    void set(CephKey k, std::optional<CephNorm> n);
    std::optional<CephKey> find(const QString& title, const QString& caption) const;
    int analysisCount() const { return int(m_analyses.size()); }
    int measureCount(int analysis) const { return int(m_analyses[size_t(analysis)].measures.size()); }
    const QString& title(int analysis) const { return m_analyses[size_t(analysis)].title; }
    const QString& caption(CephKey k) const { return entry(k).caption; }
    CephUnit unit(CephKey k) const { return entry(k).unit; }
    bool operator==(const CephNorms&) const = default;

private:
    struct Entry {
        QString caption;
        CephUnit unit = CephUnit::Degree;
        std::optional<CephNorm> norm, defined;
        bool operator==(const Entry&) const = default;
    };
    struct Analysis {
        QString title;
        std::vector<Entry> measures;
        bool operator==(const Analysis&) const = default;
    };
    const Entry& entry(CephKey k) const { return m_analyses[size_t(k.analysis)].measures[size_t(k.measure)]; }
    bool has(CephKey k) const
    {
        return k.analysis >= 0 && size_t(k.analysis) < m_analyses.size() && k.measure >= 0 &&
               size_t(k.measure) < m_analyses[size_t(k.analysis)].measures.size();
    }
    std::vector<Analysis> m_analyses;
};

struct DecodedNorms {
    CephNorms norms;  // the definitions' own when the file is refused
    QString error;    // "linha N: why", empty when the file was taken
    bool ok() const { return error.isEmpty(); }
};
// A measure the file leaves out keeps its definition's norm; an analysis or measure the catalogue
// does not have is refused.
DecodedNorms DecodeNorms(const QByteArray& bytes, const AnalysisCatalogue& catalogue = ShippedAnalyses());
// Every analysis and measure of the norms' catalogue.
QByteArray EncodeNorms(const CephNorms& norms);

}  // namespace qv
