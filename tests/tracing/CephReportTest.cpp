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
#include "tracing/CephReport.h"

#include <QSet>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qv {
namespace {

using L = Landmark;

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
    in.values = MeasureCephalometrics(in.points, c);
    in.norms = CephNorms::defaults();
    for (int i = 0; i < kCephAnalysisCount; ++i)
        in.analyses.push_back(CephAnalysis(i));
    return in;
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
    const auto all = [] {
        std::vector<CephAnalysis> v;
        for (int i = 0; i < kCephAnalysisCount; ++i)
            v.push_back(CephAnalysis(i));
        return v;
    }();
    const struct {
        QStringList titles;
        std::vector<CephAnalysis> chosen;
    } cases[] = {
        {{}, all},                                                                  // nothing stored
        {{QStringLiteral("Desconhecida")}, all},                                    // nothing usable
        {{QStringLiteral("Wits"), QStringLiteral("Steiner")}, {CephAnalysis::Steiner, CephAnalysis::Wits}},
        {{QStringLiteral("Steiner"), QStringLiteral("Steiner")}, {CephAnalysis::Steiner}},
        {{QStringLiteral("steiner"), QStringLiteral("Downs")}, {CephAnalysis::Downs}},  // titles as written
        {{Title(CephAnalysis::Tweed)}, {CephAnalysis::Tweed}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CephAnalysesFromTitles(c.titles), c.chosen) << c.titles.join(u',').toStdString();
}

TEST(CephReportParams, RowsHoldValueNormDeviationAndWhyNotMeasured)
{
    const report::ParamMap p = asMap(BuildCephReport(knownInput()).params);
    const struct {
        Ceph m;
        const char *rot, *val, *norma, *dp, *amber, *red;
    } cases[] = {
        {Ceph::SteinerSNA, "SNA", "85.0°", "82.0 ± 2.0°", "+1.50 DP", "1", ""},
        {Ceph::SteinerSNB, "SNB", "80.0°", "80.0 ± 2.0°", "0.00 DP", "", ""},
        {Ceph::SteinerANB, "ANB", "5.0°", "2.0 ± 2.0°", "+1.50 DP", "1", ""},
        {Ceph::TweedSNA, "SNA", "85.0°", "82.0 ± 2.0°", "+1.50 DP", "1", ""},
        {Ceph::Steiner1NADistance, nullptr, "—", "4.0 ± 1.0 mm", "sem calibração", "", ""},
        {Ceph::Steiner1NAAngle, nullptr, "—", "22.0 ± 2.0°", "falta As", "", ""},
        {Ceph::SteinerPogNB, nullptr, "—", "", "falta Pog", "", ""},
        {Ceph::SteinerGoGnSN, nullptr, "—", "32.0 ± 5.0°", "faltam Gn, Go", "", ""},
        {Ceph::JarabakHeightRatio, nullptr, "—", "63.5 ± 1.5 %", nullptr, "", ""},
        {Ceph::McNamaraCoA, nullptr, "—", "", nullptr, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Caption(c.m).toStdString());
        if (c.rot) {
            EXPECT_EQ(p.value(CephRowParam(c.m, "rot")), QString::fromUtf8(c.rot));
        }
        EXPECT_EQ(p.value(CephRowParam(c.m, "val")), QString::fromUtf8(c.val));
        if (c.norma) {
            EXPECT_EQ(p.value(CephRowParam(c.m, "norma")), QString::fromUtf8(c.norma));
        }
        if (c.dp) {
            EXPECT_EQ(p.value(CephRowParam(c.m, "dp")), QString::fromUtf8(c.dp));
        }
        EXPECT_EQ(p.value(CephRowParam(c.m, "a")), QString::fromUtf8(c.amber));
        EXPECT_EQ(p.value(CephRowParam(c.m, "r")), QString::fromUtf8(c.red));
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
        in.norms.set(Ceph::SteinerSNA, c.sna);
        const report::ParamMap p = asMap(BuildCephReport(in).params);
        SCOPED_TRACE(c.norma);
        EXPECT_EQ(p.value(CephRowParam(Ceph::SteinerSNA, "norma")), QString::fromUtf8(c.norma));
        EXPECT_EQ(p.value(CephRowParam(Ceph::SteinerSNA, "dp")), QString::fromUtf8(c.dp));
        EXPECT_EQ(p.value(CephRowParam(Ceph::SteinerSNA, "a")), QString::fromUtf8(c.amber));
        EXPECT_EQ(p.value(CephRowParam(Ceph::SteinerSNA, "r")), QString::fromUtf8(c.red));
        // Calibrated: the distance is measured and no longer "sem calibração".
        EXPECT_NE(p.value(CephRowParam(Ceph::Steiner1NADistance, "val")), QStringLiteral("—"));
        EXPECT_TRUE(p.value(CephRowParam(Ceph::Steiner1NADistance, "val")).endsWith(QStringLiteral(" mm")));
    }
}

TEST(CephReportParams, CoincidentPointsAreNotANumber)
{
    CephReportInput in = knownInput();
    in.points.set(L::A, QPointF(200, 100));  // on N: no line N-A
    in.values = MeasureCephalometrics(in.points, {});
    const report::ParamMap p = asMap(BuildCephReport(in).params);
    EXPECT_EQ(p.value(CephRowParam(Ceph::SteinerSNA, "val")), QStringLiteral("—"));
    EXPECT_EQ(p.value(CephRowParam(Ceph::SteinerSNA, "dp")), QStringLiteral("linhas paralelas ou pontos coincidentes"));
    // Every figure printed is a number or the dash, never nan or inf.
    for (int i = 0; i < kCephCount; ++i)
        for (const char* cell : {"val", "dp"}) {
            const QString text = p.value(CephRowParam(Ceph(i), cell));
            EXPECT_FALSE(text.contains(QLatin1String("nan"), Qt::CaseInsensitive)
                         || text.contains(QLatin1String("inf"), Qt::CaseInsensitive))
                << i << " " << text.toStdString();
        }
}

TEST(CephReportParams, OnlyTheChosenAnalysesHaveTheirSection)
{
    CephReportInput in = knownInput();
    in.analyses = {CephAnalysis::Steiner, CephAnalysis::Wits};
    const report::ParamMap p = asMap(BuildCephReport(in).params);
    for (int i = 0; i < kCephAnalysisCount; ++i) {
        const CephAnalysis a = CephAnalysis(i);
        const bool chosen = a == CephAnalysis::Steiner || a == CephAnalysis::Wits;
        EXPECT_EQ(p.value(CephSectionParam(a)), chosen ? Title(a) : QString()) << i;
    }
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
    QSet<QString> built;
    for (const ReportParam& p : BuildCephReport(knownInput()).params)
        built.insert(p.name);
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
    for (int i = 0; i < kCephAnalysisCount; ++i)
        EXPECT_TRUE(text.contains(Title(CephAnalysis(i)))) << i;
    for (const char* shown : {"85.0°", "82.0 ± 2.0°", "+1.50 DP", "faltam Gn, Go", "sem calibração", "Medida", "Norma"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_FALSE(text.contains(QStringLiteral("continua")));
}

TEST_F(CephReportPrint, AnAnalysisNotChosenIsNotPrinted)
{
    CephReportInput in = knownInput();
    in.analyses = {CephAnalysis::Steiner};
    const QList<report::LaidPage> pages = print(in);
    ASSERT_EQ(pages.size(), 1);
    const QString text = all(pages);
    EXPECT_TRUE(text.contains(QStringLiteral("Steiner")));
    EXPECT_TRUE(text.contains(QStringLiteral("+1.50 DP")));
    for (CephAnalysis a : {CephAnalysis::Tweed, CephAnalysis::Downs, CephAnalysis::McNamara, CephAnalysis::Jarabak,
                           CephAnalysis::Ricketts, CephAnalysis::SoftTissue, CephAnalysis::Wits})
        EXPECT_FALSE(text.contains(Title(a))) << int(a);
    EXPECT_FALSE(text.contains(Caption(Ceph::JarabakHeightRatio)));
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
    EXPECT_EQ(printed[0].value(CephRowParam(Ceph::TweedSNA, "val")), CephValueText(initial[Measure::SNA].value, CephUnit::Degree));
    EXPECT_NE(printed[0].value(CephRowParam(Ceph::SteinerSNA, "val")), printed[1].value(CephRowParam(Ceph::SteinerSNA, "val")));
    for (const report::ParamMap& p : printed) {
        EXPECT_TRUE(p.value(QStringLiteral("imagem")).startsWith(QStringLiteral("data:image/png;base64,")));
        QImage shown;
        ASSERT_TRUE(shown.loadFromData(QByteArray::fromBase64(p.value(QStringLiteral("imagem")).mid(22).toLatin1()), "PNG"));
        EXPECT_EQ(shown.size(), QSize(800, 600));
        EXPECT_EQ(p.value(QStringLiteral("nome")), QStringLiteral("Paciente:  MARIA"));
    }
    EXPECT_EQ(lastPages, (std::vector<int>{10, 10}));

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
    clinic.set(Ceph::SteinerSNA, CephNorm{90, 4});
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
        EXPECT_EQ(printed.back().value(CephRowParam(Ceph::SteinerSNA, "norma")), QString::fromUtf8(c.snaNorm));
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
