// report6, the printed cephalometric analyses of one stage: the parameters built from a tracing
// with known angles, the shipped template that declares and places them, and the pages printed
// through the real engine with the clinic's letterhead, one report per stage.

#include "TracingWindowFixture.h"
#include "printing/PdfProbe.h"

#include "platform/PageContext.h"
#include "printing/ClinicInfo.h"
#include "printing/PrintActions.h"
#include "printing/ReportEngine.h"
#include "printing/ReportOutput.h"
#include "printing/ReportProject.h"
#include "tracing/CephKeys.h"
#include "tracing/CephReport.h"

#include <QSet>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qv {
namespace {

using L = Landmark;
using test::K;

// N at (200, 100), S 100 px behind it; A and B 100 px from N at 85° and 80° from N→S, so
// SNA 85, SNB 80, ANB 5 whatever the calibration. Is below A.
LandmarkSet knownPoints()
{
    const auto from = [](double degrees) {
        const double r = degrees * std::numbers::pi / 180;
        return QPointF(200 - 100 * std::cos(r), 100 + 100 * std::sin(r));
    };
    LandmarkSet p;
    p.set(L::S, QPointF(100, 100));
    p.set(L::N, QPointF(200, 100));
    p.set(L::A, from(85));
    p.set(L::B, from(80));
    p.set(L::Is, QPointF(205, 210));
    return p;
}

CephReportInput knownInput(const Calibration& c = {})
{
    CephReportInput in;
    in.patient = QStringLiteral("MARIA");
    in.stage = QStringLiteral("INICIAL");
    in.calibration = QStringLiteral("Sem calibração: distâncias não medidas.");
    in.normsSource = QStringLiteral("Normas padrão do programa.");
    in.points = knownPoints();
    in.catalogue = CurrentAnalyses();
    in.values = MeasureCephalometrics(*in.catalogue, in.points, c);
    in.norms = CephNorms::defaults(*in.catalogue);
    for (size_t i = 0; i < in.catalogue->analyses.size(); ++i)
        in.analyses.push_back(int(i));
    return in;
}

// The parameter of a measure's cell in a report: under the block of its analysis, wherever the
// analysis stands among those chosen; empty when it was not chosen.
QString rowParam(const report::ParamMap& p, CephKey k, const char* cell)
{
    const int count = p.value(QStringLiteral("analises")).toInt();
    for (int c = 0; c < count; ++c)
        if (p.value(CephAnalysisParam(c, "titulo")) == test::TitleOf(k))
            return CephRowParam(c, k.measure, cell);
    return QStringLiteral("not chosen");
}

report::ParamMap asMap(const ReportParamList& list)
{
    report::ParamMap map;
    for (const ReportParam& p : list)
        map.insert(p.name, p.text);
    return map;
}

TEST(CephReportTexts, ValuesCarryTheirUnits)
{
    const struct {
        double value;
        CephUnit unit;
        const char* text;
    } cases[] = {
        {85, CephUnit::Degree, "85.0°"},      {-4.64, CephUnit::Degree, "-4.6°"}, {4.25, CephUnit::Millimetre, "4.3 mm"},
        {0, CephUnit::Millimetre, "0.0 mm"},  {63.54, CephUnit::Percent, "63.5 %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CephValueText(c.value, c.unit), QString::fromUtf8(c.text)) << c.value;
}

TEST(CephReportTexts, ChosenAnalysesFollowTheStoredTitlesInTheAnalysesOrder)
{
    const AnalysisCatalogue& shipped = ShippedAnalyses();
    const auto all = [&] {
        std::vector<int> v;
        for (size_t i = 0; i < shipped.analyses.size(); ++i)
            v.push_back(int(i));
        return v;
    }();
    const int steiner = shipped.indexOf(QStringLiteral("Steiner")), wits = shipped.indexOf(QStringLiteral("Wits")),
              downs = shipped.indexOf(QStringLiteral("Downs")), tweed = shipped.indexOf(QStringLiteral("Tweed-Merrifield"));
    const struct {
        QStringList titles;
        std::vector<int> chosen;
    } cases[] = {
        {{}, all},                                                                  // nothing stored
        {{QStringLiteral("Desconhecida")}, all},                                    // nothing usable
        {{QStringLiteral("Wits"), QStringLiteral("Steiner")}, {steiner, wits}},
        {{QStringLiteral("Steiner"), QStringLiteral("Steiner")}, {steiner}},
        {{QStringLiteral("steiner"), QStringLiteral("Downs")}, {downs}},  // titles as written
        {{QStringLiteral("Tweed-Merrifield")}, {tweed}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CephAnalysesFromTitles(shipped, c.titles), c.chosen) << c.titles.join(u',').toStdString();
}

TEST(CephReportParams, RowsHoldValueNormDeviationAndWhyNotMeasured)
{
    const report::ParamMap p = asMap(BuildCephReport(knownInput()).params);
    const struct {
        CephKey m;
        const char *rot, *val, *norma, *dp, *amber, *red;
    } cases[] = {
        {K("Steiner", "SNA"), "SNA", "85.0°", "82.0 ± 2.0°", "+1.50 DP", "1", ""},
        {K("Steiner", "SNB"), "SNB", "80.0°", "80.0 ± 2.0°", "0.00 DP", "", ""},
        {K("Steiner", "ANB"), "ANB", "5.0°", "2.0 ± 2.0°", "+1.50 DP", "1", ""},
        {K("Tweed-Merrifield", "SNA"), "SNA", "85.0°", "82.0 ± 2.0°", "+1.50 DP", "1", ""},
        {K("Steiner", "1-NA"), nullptr, "—", "4.0 ± 1.0 mm", "sem calibração", "", ""},
        {K("Steiner", "1.NA"), nullptr, "—", "22.0 ± 2.0°", "falta As", "", ""},
        {K("Steiner", "Pog-NB"), nullptr, "—", "", "falta Pog", "", ""},
        {K("Steiner", "GoGn.SN"), nullptr, "—", "32.0 ± 5.0°", "falta Gn, Go", "", ""},
        {K("Jarabak", "S-Go / N-Me"), nullptr, "—", "63.5 ± 1.5 %", nullptr, "", ""},
        {K("McNamara", "Co-A"), nullptr, "—", "", nullptr, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Caption(c.m).toStdString());
        if (c.rot) {
            EXPECT_EQ(p.value(rowParam(p, c.m, "rot")), QString::fromUtf8(c.rot));
        }
        EXPECT_EQ(p.value(rowParam(p, c.m, "val")), QString::fromUtf8(c.val));
        if (c.norma) {
            EXPECT_EQ(p.value(rowParam(p, c.m, "norma")), QString::fromUtf8(c.norma));
        }
        if (c.dp) {
            EXPECT_EQ(p.value(rowParam(p, c.m, "dp")), QString::fromUtf8(c.dp));
        }
        EXPECT_EQ(p.value(rowParam(p, c.m, "a")), QString::fromUtf8(c.amber));
        EXPECT_EQ(p.value(rowParam(p, c.m, "r")), QString::fromUtf8(c.red));
    }
    EXPECT_EQ(p.value(QStringLiteral("nome")), QStringLiteral("Paciente:  MARIA"));
    EXPECT_EQ(p.value(QStringLiteral("fase")), QStringLiteral("INICIAL"));
    EXPECT_TRUE(p.value(QStringLiteral("imagem")).isEmpty());  // no picture handed in
}

TEST(CephReportParams, TheClinicsNormsAndTheCalibrationDecide)
{
    const struct {
        std::optional<CephNorm> sna;
        const char *norma, *dp, *amber, *red;
    } cases[] = {
        {CephNorm{85, 1}, "85.0 ± 1.0°", "0.00 DP", "", ""},
        {CephNorm{83, 2}, "83.0 ± 2.0°", "+1.00 DP", "", ""},  // exactly one SD: still within
        {CephNorm{80, 2}, "80.0 ± 2.0°", "+2.50 DP", "", "1"},
        {CephNorm{90, 2.5}, "90.0 ± 2.5°", "-2.00 DP", "1", ""},  // exactly two SD: amber, not red
        {std::nullopt, "", "", "", ""},
    };
    for (const auto& c : cases) {
        CephReportInput in = knownInput({0.1, 0.1});
        in.norms.set(K("Steiner", "SNA"), c.sna);
        const report::ParamMap p = asMap(BuildCephReport(in).params);
        SCOPED_TRACE(c.norma);
        EXPECT_EQ(p.value(rowParam(p, K("Steiner", "SNA"), "norma")), QString::fromUtf8(c.norma));
        EXPECT_EQ(p.value(rowParam(p, K("Steiner", "SNA"), "dp")), QString::fromUtf8(c.dp));
        EXPECT_EQ(p.value(rowParam(p, K("Steiner", "SNA"), "a")), QString::fromUtf8(c.amber));
        EXPECT_EQ(p.value(rowParam(p, K("Steiner", "SNA"), "r")), QString::fromUtf8(c.red));
        // Calibrated: the distance is measured and no longer "sem calibração".
        EXPECT_NE(p.value(rowParam(p, K("Steiner", "1-NA"), "val")), QStringLiteral("—"));
        EXPECT_TRUE(p.value(rowParam(p, K("Steiner", "1-NA"), "val")).endsWith(QStringLiteral(" mm")));
    }
}

TEST(CephReportParams, CoincidentPointsAreNotANumber)
{
    CephReportInput in = knownInput();
    in.points.set(L::A, QPointF(200, 100));  // on N: no line N-A
    in.values = MeasureCephalometrics(*in.catalogue, in.points, {});
    const report::ParamMap p = asMap(BuildCephReport(in).params);
    EXPECT_EQ(p.value(rowParam(p, K("Steiner", "SNA"), "val")), QStringLiteral("—"));
    EXPECT_EQ(p.value(rowParam(p, K("Steiner", "SNA"), "dp")), QStringLiteral("indefinida"));
    // Every figure printed is a number or the dash, never nan or inf.
    for (const CephKey i : AllMeasures(*in.catalogue))
        for (const char* cell : {"val", "dp"}) {
            const QString text = p.value(rowParam(p, i, cell));
            EXPECT_FALSE(text.contains(QLatin1String("nan"), Qt::CaseInsensitive)
                         || text.contains(QLatin1String("inf"), Qt::CaseInsensitive))
                << i.analysis << "/" << i.measure << " " << text.toStdString();
        }
}

TEST(CephReportParams, OnlyTheChosenAnalysesHaveTheirSection)
{
    CephReportInput in = knownInput();
    in.analyses = {in.catalogue->indexOf(QStringLiteral("Steiner")), in.catalogue->indexOf(QStringLiteral("Wits"))};
    const report::ParamMap p = asMap(BuildCephReport(in).params);
    EXPECT_EQ(p.value(QStringLiteral("analises")), QStringLiteral("2"));
    EXPECT_EQ(p.value(CephAnalysisParam(0, "titulo")), QStringLiteral("Steiner"));
    EXPECT_EQ(p.value(CephAnalysisParam(1, "titulo")), QStringLiteral("Wits"));
    EXPECT_EQ(p.value(CephAnalysisParam(0, "medidas")), QStringLiteral("11"));
    EXPECT_EQ(p.value(CephAnalysisParam(1, "medidas")), QStringLiteral("1"));
    EXPECT_FALSE(p.contains(CephAnalysisParam(2, "titulo")));
    EXPECT_EQ(rowParam(p, K("Downs", "FMA"), "val"), QStringLiteral("not chosen"));
}

TEST(CephReportProject, TheShippedProjectDeclaresAndPlacesExactlyTheReportsParameters)
{
    const report::ReportProject project =
        report::LoadReportProject(QDir(QStringLiteral(QUORVEL_DATA_DIR)).filePath(QStringLiteral("Análises.rav")));
    ASSERT_TRUE(project.reports.contains(QStringLiteral("report6")));
    const report::ReportLayout& layout = project.reports[QStringLiteral("report6")];
    EXPECT_EQ(layout.title, QStringLiteral("Análise Cefalométrica"));
    const auto sorted = [](const QSet<QString>& s) {
        QStringList l(s.begin(), s.end());
        l.sort();
        return l.join(u' ').toStdString();
    };
    // A block repeated per analysis and measure declares its parameters once, without the numbers:
    // "analises.2.medidas.3.val" is set, "analises.medidas.val" declared.
    // Those set only for points still proposed, and for the proposals' accuracy, as well.
    CephReportInput proposed = knownInput();
    proposed.proposed.set(size_t(Index(L::A)));
    proposed.accuracy = ProposalAccuracy{10, 5, {}};
    QSet<QString> built;
    for (const CephReportInput& in : {knownInput(), proposed})
        for (const ReportParam& p : BuildCephReport(in).params) {
            QStringList parts = p.name.split(u'.');
            parts.removeIf([](const QString& part) { return !part.isEmpty() && part.front().isDigit(); });
            built.insert(parts.join(u'.'));
        }
    EXPECT_EQ(sorted(QSet<QString>(layout.params.begin(), layout.params.end())), sorted(built));
    QSet<QString> placed;
    for (const report::Template* t : {&project.header, &project.footer})
        for (const QString& n : t->names().keys())
            placed.insert(n);
    for (const report::Template& page : layout.pages)
        for (const QString& n : page.names().keys())
            placed.insert(n);
    for (const QString& n : report::BuiltInParams())
        placed.remove(n);
    EXPECT_EQ(sorted(placed), sorted(built));
}

// Prints report6 through the real engine into memory (and a PDF to look at).
class CephReportPrint : public test::WorkFolderTest {
protected:
    void SetUp() override
    {
        dialogs.setHideItem(&popOcultar);
        report::ClinicInfo c;
        c.clinic = QStringLiteral("Clínica Sorriso");
        c.professional = QStringLiteral("Dra. Ana Souza");
        c.save();
    }
    QList<report::LaidPage> print(const CephReportInput& in, const QString& keepAs = QString())
    {
        const CephReportPlan plan = BuildCephReport(in);
        ReportEngine engine(dialogs, std::make_unique<report::MemoryOutput>());
        auto& out = static_cast<report::MemoryOutput&>(engine.output());
        EXPECT_EQ(PrintCephalometric(engine, page, plan.params, plan.lastPage), PrintOutcome::Ran);
        EXPECT_EQ(out.reportTitle, QStringLiteral("Análise Cefalométrica"));
        if (!keepAs.isEmpty()) {
            work.write(keepAs, out.pdf);
            test::KeepReport(work.file(keepAs), keepAs);
        }
        return out.pages;
    }
    static QString all(const QList<report::LaidPage>& pages)
    {
        QStringList t;
        for (const report::LaidPage& p : pages)
            t << p.texts();
        return t.join(u'\n');
    }

    QAction popOcultar;
    platform::PageContext page{dialogs, [] { return test::kCaption; }};
};

TEST_F(CephReportPrint, EveryPageHasTheLetterheadAndEveryChosenAnalysisItsTable)
{
    CephReportInput in = knownInput();
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    in.picturePng = png;
    const QList<report::LaidPage> pages = print(in, QStringLiteral("cefalometria.pdf"));
    ASSERT_GE(pages.size(), 2);  // the picture and eight tables do not fit one sheet
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString header = pages[i].texts().mid(0, pages[i].headerTexts).join(u'\n');
        EXPECT_TRUE(header.contains(QStringLiteral("Clínica Sorriso"))) << i << header.toStdString();
        EXPECT_TRUE(header.contains(QStringLiteral("Paciente:  MARIA"))) << i;
        EXPECT_TRUE(header.contains(QStringLiteral("Análise Cefalométrica"))) << i;
    }
    const QString first = pages[0].body().join(u'\n');
    EXPECT_TRUE(first.contains(QStringLiteral("INICIAL"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Sem calibração"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Normas padrão do programa."))) << first.toStdString();
    const QString text = all(pages);
    for (const QString& title : in.catalogue->titles())
        EXPECT_TRUE(text.contains(title)) << title.toStdString();
    for (const char* shown : {"85.0°", "82.0 ± 2.0°", "+1.50 DP", "falta Gn, Go", "sem calibração", "Medida", "Norma"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_FALSE(text.contains(QStringLiteral("continua")));
}

TEST_F(CephReportPrint, AnAnalysisNotChosenIsNotPrinted)
{
    CephReportInput in = knownInput();
    in.analyses = {in.catalogue->indexOf(QStringLiteral("Steiner"))};
    const QList<report::LaidPage> pages = print(in);
    ASSERT_EQ(pages.size(), 1);
    const QString text = all(pages);
    EXPECT_TRUE(text.contains(QStringLiteral("Steiner")));
    EXPECT_TRUE(text.contains(QStringLiteral("+1.50 DP")));
    for (const QString& title : in.catalogue->titles()) {
        if (title != QLatin1String("Steiner")) {
            EXPECT_FALSE(text.contains(title)) << title.toStdString();
        }
    }
    EXPECT_FALSE(text.contains(test::Caption(K("Jarabak", "S-Go / N-Me"))));
}

// IMPRIMIR in the tracing window: one report per stage, each naming its stage and its own values.
class CephReportFromWindow : public test::TracingWindowTest {
protected:
    void SetUp() override
    {
        QObject::connect(&window, &TracingWindow::printRequested, &window,
                         [this](const ReportParamList& params, int lastPage) {
                             printed.push_back(asMap(params));
                             lastPages.push_back(lastPage);
                         });
        window.setAnalyses(window.catalogue().titles());  // every analysis in the report
    }
    std::vector<report::ParamMap> printed;
    std::vector<int> lastPages;
};

TEST_F(CephReportFromWindow, EachStagePrintsItsOwnReportWithTheTracedPicture)
{
    openAtScaleOne();
    placeAll();
    const struct {
        const char* stage;
        QPointF a;  // where A is moved before the print
    } stages[] = {{"INICIAL", {600, 170}}, {"FINAL", {620, 170}}};
    for (const auto& s : stages) {
        stage = QString::fromLatin1(s.stage);
        tweedChanged();
        window.setLandmark(L::A, s.a);
        // The button itself for the first stage, its menu's item for the second.
        if (stage == QLatin1String("INICIAL"))
            window.findChild<QToolButton*>(QStringLiteral("tImprimir"))->click();
        else
            window.findChild<QAction*>(QStringLiteral("tRelatorio"))->trigger();
    }
    ASSERT_EQ(printed.size(), 2u);
    const Measurements initial = MeasureTracing(expectedPoints(), {});
    EXPECT_EQ(printed[0].value(QStringLiteral("fase")), QStringLiteral("INICIAL"));
    EXPECT_EQ(printed[1].value(QStringLiteral("fase")), QStringLiteral("FINAL"));
    EXPECT_EQ(printed[0].value(rowParam(printed[0], K("Tweed-Merrifield", "SNA"), "val")), CephValueText(initial[Measure::SNA].value, CephUnit::Degree));
    EXPECT_NE(printed[0].value(rowParam(printed[0], K("Steiner", "SNA"), "val")), printed[1].value(rowParam(printed[1], K("Steiner", "SNA"), "val")));
    for (const report::ParamMap& p : printed) {
        EXPECT_TRUE(p.value(QStringLiteral("imagem")).startsWith(QStringLiteral("data:image/png;base64,")));
        QImage shown;
        ASSERT_TRUE(shown.loadFromData(QByteArray::fromBase64(p.value(QStringLiteral("imagem")).mid(22).toLatin1()), "PNG"));
        EXPECT_EQ(shown.size(), QSize(800, 600));
        EXPECT_EQ(p.value(QStringLiteral("nome")), QStringLiteral("Paciente:  MARIA"));
    }
    EXPECT_EQ(lastPages, (std::vector<int>{13, 13}));  // the picture and eleven tables, more than the ten pages of eight

    // Each through the real engine: its own stage under the letterhead's header.
    for (size_t i = 0; i < printed.size(); ++i) {
        ReportEngine engine(dialogs, std::make_unique<report::MemoryOutput>());
        auto& out = static_cast<report::MemoryOutput&>(engine.output());
        ReportParamList params;
        for (auto it = printed[i].begin(); it != printed[i].end(); ++it)
            params.append({it.key(), it.value()});
        const platform::PageContext page{dialogs, [] { return test::kCaption; }};
        ASSERT_EQ(PrintCephalometric(engine, page, params, lastPages[i]), PrintOutcome::Ran);
        ASSERT_FALSE(out.pages.isEmpty());
        const QString body = out.pages[0].body().join(u'\n');
        EXPECT_TRUE(body.contains(i == 0 ? QStringLiteral("INICIAL") : QStringLiteral("FINAL"))) << body.toStdString();
        EXPECT_FALSE(body.contains(i == 0 ? QStringLiteral("FINAL") : QStringLiteral("INICIAL")));
        const QString name = QStringLiteral("cefalometria-%1.pdf").arg(i + 1);
        work.write(name, out.pdf);
        test::KeepReport(work.file(name), name);
    }
}

// The deviations printed rest on the norms the report names: the clinic's file when it is taken,
// the shipped norms (and why) when it is missing or refused.
TEST_F(CephReportFromWindow, TheReportNamesTheNormsItsDeviationsRestOn)
{
    CephNorms clinic = CephNorms::defaults();
    clinic.set(K("Steiner", "SNA"), CephNorm{90, 4});
    const QByteArray damaged = EncodeNorms(clinic).replace("\"normas\"", "\"normas\" 1");
    const struct {
        std::optional<QByteArray> file;
        const char* source;
        const char* snaNorm;
    } cases[] = {
        {std::nullopt, "Normas padrão do programa.", "82.0 ± 2.0°"},
        {EncodeNorms(clinic), "Normas do consultório (Normas.json).", "90.0 ± 4.0°"},
        {QByteArray(), "Normas padrão do programa: o arquivo Normas.json foi recusado (linha 1: o arquivo está vazio).",
         "82.0 ± 2.0°"},
        {damaged, nullptr, "82.0 ± 2.0°"},
    };
    openAtScaleOne();
    placeAll();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.snaNorm);
        if (c.file)
            work.write(QString::fromLatin1(kNormsFileName), *c.file);
        else
            work.remove(QString::fromLatin1(kNormsFileName));
        window.findChild<QToolButton*>(QStringLiteral("tImprimir"))->click();
        ASSERT_FALSE(printed.empty());
        const QString source = printed.back().value(QStringLiteral("normas"));
        if (c.source)
            EXPECT_EQ(source, QString::fromUtf8(c.source));
        else
            EXPECT_TRUE(source.startsWith(QStringLiteral("Normas padrão do programa: o arquivo Normas.json foi recusado (linha ")))
                << source.toStdString();
        EXPECT_EQ(printed.back().value(rowParam(printed.back(), K("Steiner", "SNA"), "norma")), QString::fromUtf8(c.snaNorm));
    }
}

TEST_F(CephReportFromWindow, NothingPlacedIsRefused)
{
    openAtScaleOne();
    window.findChild<QToolButton*>(QStringLiteral("tImprimir"))->click();
    dialogs.expectNotice(platform::NoticeKind::Warning, QStringLiteral("Marque os pontos do traçado antes de imprimir!"), test::kCaption);
    EXPECT_TRUE(printed.empty());
}

}  // namespace
}  // namespace qv
