// Values resting on points proposed and not yet confirmed: marked and their points named in the
// tables, the report and the spreadsheet; the proposals' accuracy printed only when they were used.

#include "TracingWindowFixture.h"
#include "analysis/CephCsv.h"
#include "tracing/CephKeys.h"
#include "tracing/CephReport.h"

#include <QHash>

#include <algorithm>

namespace qv {
namespace {

using L = Landmark;
using test::K;

LandmarkFlags flags(std::initializer_list<Landmark> ls)
{
    LandmarkFlags f;
    for (Landmark l : ls)
        f.set(size_t(l));
    return f;
}

// The Tweed twenty of the window's tests, calibrated; Tweed-Merrifield and Steiner chosen.
CephReportInput tweedTwenty(LandmarkFlags proposed = {}, LandmarkFlags accepted = {}, std::optional<ProposalAccuracy> accuracy = {})
{
    CephReportInput in;
    in.proposed = proposed, in.accepted = accepted, in.accuracy = accuracy;
    for (const auto& [l, p] : test::kPlaces)
        in.points.set(l, QPointF(p));
    in.catalogue = std::make_shared<const AnalysisCatalogue>(ShippedAnalyses());
    in.values = MeasureCephalometrics(*in.catalogue, in.points, {0.1, 0.1});
    in.norms = CephNorms::defaults(*in.catalogue);
    in.analyses = {K("Tweed-Merrifield", "FMA").analysis, K("Steiner", "SNA").analysis};
    return in;
}

TEST(ProposedMarks, AValueIsMarkedInTheTablesAndTheCsvByTheUnconfirmedPointsItRestsOn)
{
    const struct { LandmarkFlags proposed; CephKey m; const char* named; } cases[] = {  // named: "" when not marked
        {{}, K("Steiner", "SNA"), ""},
        {flags({L::A}), K("Steiner", "SNA"), "A"},
        {flags({L::A}), K("Steiner", "SNB"), ""},
        {flags({L::B, L::A}), K("Steiner", "ANB"), "A, B"},  // through SNA and SNB
        {flags({L::S}), K("Steiner", "1-NB"), "S"},           // S-N tells the anterior side
        {flags({L::S}), K("Steiner", "1.NB"), ""},
        {flags({L::Me, L::Po}), K("Tweed-Merrifield", "FMIA"), "Po, Me"},
        {flags({L::S, L::N}), K("Steiner", "GoGn.SN"), ""},  // no value, nothing to mark
    };
    const CephReportInput in = tweedTwenty();
    const Measurements tweed = MeasureTracing(in.points, {0.1, 0.1});
    TracingPanels panels;
    std::unique_ptr<QWidget> column(panels.build([](Landmark) {}, [](const QString&) {}));
    panels.showAnalyses(true, in.catalogue, {in.analyses[1]}, {});
    const std::vector<CephKey> columns = AllMeasures(*in.catalogue);
    const QStringList plain = QString::fromUtf8(CephCsvLine({QString(), QString(), in.values}, *in.catalogue)).split(u';');
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Caption(c.m).toStdString());
        panels.showCephalometrics(in.values, in.norms, in.points, c.proposed);
        panels.showMeasurements(tweed, MakeTracingValues(tweed), in.points, c.proposed);
        const QTableWidget* shown = c.m.analysis == in.analyses[0] ? panels.table : panels.ceph.table;
        const QTableWidgetItem* item = shown->item(shown == panels.table ? c.m.measure : panels.ceph.rowOf(c.m), 1);
        const CephRowTexts t = CephRow(c.m, *in.catalogue, in.values, in.norms, in.points, c.proposed);
        EXPECT_EQ(item->text().endsWith(QStringLiteral(" (proposto)")), *c.named != 0) << item->text().toStdString();
        EXPECT_EQ(LandmarkCodes(t.proposed), QLatin1String(c.named));
        EXPECT_EQ(item->toolTip().section(u'\n', 1), ProposedPointsText(t.proposed));
        if (shown == panels.table) {
            EXPECT_LE(shown->fontMetrics().horizontalAdvance(item->text()), shown->columnWidth(1));
        } else {  // the mark under the value, the columns as they were
            EXPECT_EQ(shown->rowHeight(item->row()) > 21, *c.named != 0);
        }
        const qsizetype cell = 2 + (std::ranges::find(columns, c.m) - columns.begin());
        EXPECT_EQ(QString::fromUtf8(CephCsvLine({QString(), QString(), in.values, c.proposed}, *in.catalogue)).split(u';').value(cell),
                  plain.value(cell) + (*c.named ? QStringLiteral(" (proposto)") : QString()));
    }
    EXPECT_EQ(ProposedPointsText({L::A}), QStringLiteral("Medida com ponto apenas proposto: A. Confirme-o para tirar esta marca."));
    EXPECT_EQ(ProposedPointsText({L::S, L::N}), QStringLiteral("Medida com pontos apenas propostos: S, N. Confirme-os para tirar esta marca."));
}

TEST(ProposedMarks, TheReportNamesTheUnconfirmedPointsAndTellsTheAccuracyOnlyWhenProposalsWereUsed)
{
    const ProposalAccuracy known{40, 5, {{L::S, 40, 1.04, 0.8333, 1.0}, {L::A, 38, 2.96, 0.42, 0.79}}};
    const auto params = [](const CephReportInput& in) {
        QHash<QString, QString> p;
        for (const ReportParam& r : BuildCephReport(in).params)
            p.insert(r.name, r.text);
        return p;
    };
    const struct { CephReportInput in; const char* note; QStringList rows; } cases[] = {  // under Steiner; of the accuracy
        {tweedTwenty({}, {}, known), "", {}},
        {tweedTwenty(flags({L::Go}), {}, known), "", {}},  // Go is not placed
        {tweedTwenty(flags({L::A})), "um ponto apenas proposto pelo programa, ainda não confirmado pelo profissional: A.", {}},
        {tweedTwenty(flags({L::A, L::B}), flags({L::S, L::Is}), known),
         "pontos apenas propostos pelo programa, ainda não confirmados pelo profissional: A, B.",
         {"S (sela)|1.0 mm|83 %|100 %|40", "A (subespinhal)|3.0 mm|42 %|79 %|38", "B (supramentoniano)|—|—|—|0",
          "Is (face vestibular mais proeminente do incisivo superior)|—|—|—|0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        const QHash<QString, QString> p = params(c.in);
        const QString note = p.value(CephAnalysisParam(1, "propostos"));
        EXPECT_EQ(note, *c.note ? QStringLiteral("(proposto): valor que usa ") + QString::fromUtf8(c.note) : QString());
        EXPECT_EQ(p.value(CephRowParam(1, 0, "prop")), c.in.proposed.test(size_t(L::A)) ? QStringLiteral(" (proposto)") : QString());
        QStringList rows;
        for (int r = 0; r < p.value(QStringLiteral("precisao")).toInt(); ++r)
            rows << QStringList{p.value(CephAccuracyParam(r, "ponto")), p.value(CephAccuracyParam(r, "erro")), p.value(CephAccuracyParam(r, "ate2")),
                                p.value(CephAccuracyParam(r, "ate4")), p.value(CephAccuracyParam(r, "tracados"))}.join(u'|');
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(p.value(QStringLiteral("precisaonota")).startsWith(QStringLiteral("Os números vêm dos 40 traçados do próprio consultório")),
                  !c.rows.isEmpty());
        if (note.isEmpty() && rows.isEmpty()) {
            EXPECT_EQ(p, params(tweedTwenty()));  // what a tracing without proposals always printed
        }
    }
}

}  // namespace
}  // namespace qv
