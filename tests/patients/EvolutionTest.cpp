// The evolution of a patient's stages, its norm bands and the parameters of report5.

#include "analysis/Evolution.h"
#include "patients/EvolutionReport.h"
#include "analysis/StageCalculation.h"
#include "analysis/TweedAnalysis.h"

#include "StageSamples.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace qv;

namespace {

std::string S(const QString& s) { return s.toStdString(); }

const EvolutionRow& RowOf(const Evolution& ev, const char* name)
{
    for (const EvolutionRow& r : ev.rows)
        if (r.name == QLatin1String(name))
            return r;
    ADD_FAILURE() << "no row " << name;
    return ev.rows.front();
}

Evolution FourStageEvolution()
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    QList<EvolutionStage> stages;
    for (int s = 3; s >= 0; --s)  // out of order on purpose
        stages << EvolutionStage{s, CalculateStage(files[size_t(s)])};
    return BuildEvolution(QStringLiteral("ANA"), stages);
}

// The norm of each measurement as the field table holds it, beside the caption that states it.
TEST(NormBand, OfTheCaptionedMeasurements)
{
    const std::pair<const char*, std::optional<NormBand>> cases[] = {
        {"FMA (22° a 28°)", NormBand{22, 28}},      {"FMIA (65° a 68°)", NormBand{65, 68}},
        {"IMPA (88° a 94°)", NormBand{88, 94}},     {"ANB ( 1° a 5°)", NormBand{1, 5}},
        {"Ang. Z ( 70° a 80°)", NormBand{70, 80}},  {"AO - BO ( 0 a 4 mm)", NormBand{0, 4}},
        {"AFP / AFA ( 65% a 75%)", NormBand{65, 75}}, {"Pl. ocl. - Hf (8° a 12°)", NormBand{8, 12}},
        {"LS", std::nullopt},                        {"FMIA", std::nullopt}};
    for (const auto& [caption, band] : cases) {
        SCOPED_TRACE(caption);
        int found = 0;
        for (const TweedField& f : TweedFields())
            if (f.captionText() == QString::fromUtf8(caption)) {
                ++found;
                EXPECT_EQ(f.norm, band);
            }
        EXPECT_GE(found, 1);
    }
}

// The rows of the table in their order: sections, then each field the evolution follows with its
// label, its kind and whether it is computed. Every non-section row names its field's key.
struct RowCase {
    EvolutionRow::Kind kind;
    const char* name;
    const char* label;
    bool result;
};
using RK = EvolutionRow::Kind;
const RowCase kRows[] = {
    {RK::Section, "", "Paciente", false},
    {RK::Integer, "Idade", "Idade (anos)", false},
    {RK::Section, "", "Análise de Tweed", false},
    {RK::Number, "twfma", "FMA (22° a 28°)", false},
    {RK::Number, "twfmia", "FMIA (65° a 68°)", false},
    {RK::Number, "twimpa", "IMPA (88° a 94°)", false},
    {RK::Number, "twploc", "Pl. ocl. - Hf (8° a 12°)", false},
    {RK::Number, "twsna", "SNA ( 80° a 84°)", false},
    {RK::Number, "twsnb", "SNB (78° a 82°)", false},
    {RK::Number, "twanbres", "ANB ( 1° a 5°)", true},
    {RK::Number, "twaobo", "AO - BO ( 0 a 4 mm)", false},
    {RK::Number, "twangz", "Ang. Z ( 70° a 80°)", false},
    {RK::Number, "twls", "LS", false},
    {RK::Number, "twqt", "QT", false},
    {RK::Number, "twafa", "AFA", false},
    {RK::Number, "twafp", "AFP", false},
    {RK::Percent, "twafpafares", "AFP / AFA ( 65% a 75%)", true},
    {RK::Horn, "hornres", "Índice de Altura Facial de Horn", true},
    {RK::Section, "", "Discrepância Cefalométrica", false},
    {RK::Number, "dcfmiares", "FMIA alvo", true},
    {RK::Number, "dcimpares", "IMPA alvo", true},
    {RK::Number, "dcdcres", "Discrepância cefalométrica (DC)", true},
    {RK::Section, "", "Análise Total do Espaço (mm)", false},
    {RK::Number, "anaer", "Área anterior: espaço requerido", false},
    {RK::Number, "anaep", "Área anterior: espaço presente", false},
    {RK::Number, "anantres", "Disc. Área Anterior", true},
    {RK::Number, "anmer", "Área média: espaço requerido", false},
    {RK::Number, "anmep", "Área média: espaço presente", false},
    {RK::Number, "anmspee", "Curva de Spee", false},
    {RK::Number, "anmcorr", "Correção Molar", false},
    {RK::Number, "anmedres", "Disc. Área Média", true},
    {RK::Number, "anper", "Área posterior: espaço requerido", false},
    {RK::Number, "anpep", "Área posterior: espaço presente", false},
    {RK::Number, "anposres", "Disc. Área Posterior", true},
    {RK::Number, "andiscres", "Discrepância Total", true},
    {RK::Section, "", "Índice de Dificuldade", false},
    {RK::Number, "idtotres", "Índice de dificuldade (total)", true},
    {RK::Grade, "grade", "Grau de dificuldade", true},
};

TEST(Evolution, RowsFollowTheFieldTable)
{
    const Evolution ev = FourStageEvolution();
    ASSERT_EQ(ev.rows.size(), qsizetype(std::size(kRows)));
    QSet<QString> labels;
    QSet<int> keys;
    for (qsizetype i = 0; i < ev.rows.size(); ++i) {
        const EvolutionRow& row = ev.rows[i];
        const RowCase& c = kRows[i];
        SCOPED_TRACE(c.label);
        EXPECT_EQ(row.kind, c.kind);
        EXPECT_EQ(S(row.name), c.name);
        EXPECT_EQ(S(row.label), c.label);
        EXPECT_EQ(row.result, c.result);
        EXPECT_FALSE(labels.contains(row.label));
        labels.insert(row.label);
        if (c.kind == RK::Section) {
            EXPECT_FALSE(row.key.has_value());
            EXPECT_TRUE(row.cells.isEmpty());
            continue;
        }
        ASSERT_TRUE(row.key.has_value());
        const TweedField& f = TweedFieldOf(*row.key);
        EXPECT_EQ(S(row.name), c.kind == RK::Grade ? "grade" : f.objectName);
        EXPECT_EQ(f.result != nullptr, c.result);
        EXPECT_FALSE(keys.contains(int(*row.key)));
        keys.insert(int(*row.key));
        EXPECT_EQ(row.cells.size(), 4);
    }
    // The chart draws the fields marked for it, with their captions and norms.
    QList<const TweedField*> charted;
    for (const TweedField& f : TweedFields())
        if (f.evolution.chart)
            charted << &f;
    ASSERT_EQ(charted.size(), ev.chart.size());
    for (qsizetype i = 0; i < charted.size(); ++i) {
        EXPECT_EQ(ev.chart[i].caption, charted[i]->captionText());
        ASSERT_TRUE(charted[i]->norm.has_value()) << charted[i]->objectName;
        EXPECT_EQ(ev.chart[i].band, *charted[i]->norm);
    }
}

TEST(GradeOf, TheWordOfTheLabel)
{
    EXPECT_EQ(S(GradeOf(QStringLiteral("ÍNDICE DE DIFICULDADE SUAVE: 59.9"))), "Suave");
    EXPECT_EQ(S(GradeOf(QStringLiteral("ÍNDICE DE DIFICULDADE MODERADO: 60.0"))), "Moderado");
    EXPECT_EQ(S(GradeOf(QStringLiteral("ÍNDICE DE DIFICULDADE SEVERO: 120.0"))), "Severo");
    EXPECT_EQ(S(GradeOf(QString())), "");
}

TEST(Evolution, StagesInTreatmentOrderWithTheirResults)
{
    const Evolution ev = FourStageEvolution();
    EXPECT_EQ(ev.stages, QList<int>({0, 1, 2, 3}));
    EXPECT_EQ(ev.headers, QStringList({"Inicial", "Inter 1", "Inter 2", "Final"}));
    EXPECT_EQ(ev.notes, QStringList({"", "", "", ""}));
    EXPECT_EQ(RowOf(ev, "Idade").cells, QStringList({"13", "14", "15", "16"}));
    // Typed texts as stored, not normalised.
    EXPECT_EQ(RowOf(ev, "twfma").cells, QStringList({"25.0", "26.5", "31", "24.0"}));
    // Targets by the FMA bands; the clinician's own IMPA in force at INTER1.
    EXPECT_EQ(RowOf(ev, "dcfmiares").cells, QStringList({"68.0", "68.0", "65.0", "68.0"}));
    EXPECT_EQ(RowOf(ev, "dcimpares").cells, QStringList({"87.0", "90.0", "84.0", "88.0"}));
    EXPECT_EQ(RowOf(ev, "dcdcres").cells, QStringList({"-6.4", "-6.8", "-6.4", "-1.6"}));
    EXPECT_EQ(RowOf(ev, "twafpafares").cells, QStringList({"66%", "58%", "86%", "68%"}));
    EXPECT_EQ(RowOf(ev, "hornres").cells,
              QStringList({"Face Equilibrada", "Tratamento Ortodôntico", "Tratamento Orto-Cirúrgico", "Face Equilibrada"}));
}

TEST(Evolution, ChangeFromTheFirstStageToTheLast)
{
    const Evolution ev = FourStageEvolution();
    EXPECT_EQ(S(ev.changeHeader()), "Variação\nInicial → Final");
    const std::pair<const char*, const char*> changes[] = {
        {"Idade", "+3"},       {"twfma", "-1.0"},      {"twfmia", "+1.5"},   {"twimpa", "-5.0"},
        {"twsnb", "+0.5"},     {"twanbres", "-1.5"},   {"twaobo", "0.0"},    {"twafpafares", "+2%"},
        {"hornres", "igual"},  {"dcimpares", "+1.0"},  {"dcdcres", "+4.8"},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        EXPECT_EQ(S(RowOf(ev, name).change), change);
    }
    // The grade reads better or worse by its order SUAVE < MODERADO < SEVERO.
    const EvolutionRow& grade = RowOf(ev, "grade");
    const int first = QStringList({"Suave", "Moderado", "Severo"}).indexOf(grade.cells.front());
    const int last = QStringList({"Suave", "Moderado", "Severo"}).indexOf(grade.cells.back());
    ASSERT_GE(first, 0);
    ASSERT_GE(last, 0);
    EXPECT_EQ(S(grade.change), first == last ? "igual" : (last < first ? "melhorou" : "piorou"));
}

TEST(Evolution, TextRowsReadBetterOrWorse)
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    // INICIAL (balanced face) to INTER2 (surgical): worse; the other way: better.
    const Evolution worse = BuildEvolution(QStringLiteral("ANA"), {{0, CalculateStage(files[0])}, {2, CalculateStage(files[2])}});
    EXPECT_EQ(S(RowOf(worse, "hornres").change), "piorou");
    const Evolution better = BuildEvolution(QStringLiteral("ANA"), {{2, CalculateStage(files[2])}, {3, CalculateStage(files[3])}});
    EXPECT_EQ(S(RowOf(better, "hornres").change), "melhorou");
    EXPECT_EQ(S(better.changeHeader()), "Variação\nInter 2 → Final");
}

TEST(Evolution, OneStageHasNoChange)
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    const Evolution ev = BuildEvolution(QStringLiteral("ANA"), {{1, CalculateStage(files[1])}});
    EXPECT_EQ(ev.headers, QStringList({"Inter 1"}));
    for (const EvolutionRow& r : ev.rows)
        EXPECT_TRUE(r.change.isEmpty()) << S(r.name);
    EXPECT_EQ(S(ev.changeHeader()), "Variação");
}

TEST(Evolution, AStageWithoutResultsSaysWhy)
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    const QByteArray zeroAfa = test::StageRecord(QStringLiteral("ANA"), "15", {{"twafa", "0.0"}});
    const QByteArray incomplete = test::StageRecord(QStringLiteral("ANA"), "15", {{"anpep", ""}});
    const Evolution ev = BuildEvolution(QStringLiteral("ANA"), {{0, CalculateStage(files[0])},
                                                               {1, CalculateStage(files[1].left(198))},
                                                               {2, CalculateStage(zeroAfa)},
                                                               {3, CalculateStage(incomplete)}});
    EXPECT_EQ(ev.notes, QStringList({"", "Arquivo ilegível ou incompleto", RefusalText(TweedRefusal::ZeroAfa),
                                     RefusalText(TweedRefusal::Incomplete)}));
    // The typed values still show; results do not, and so no change is computed for them.
    EXPECT_EQ(RowOf(ev, "twfma").cells, QStringList({"25.0", "", "25.0", "25.0"}));
    EXPECT_EQ(RowOf(ev, "twanbres").cells, QStringList({"3.5", "", "", ""}));
    EXPECT_EQ(S(RowOf(ev, "twanbres").change), "");
    EXPECT_EQ(S(RowOf(ev, "twfma").change), "0.0");
    // The chart leaves the gaps out.
    EXPECT_EQ(ev.chart[3].title, QStringLiteral("ANB"));
    EXPECT_EQ(ev.chart[3].values, (QList<std::optional<double>>{3.5, std::nullopt, std::nullopt, std::nullopt}));
}

TEST(Evolution, ChartOfFiveMeasuresWithTheirBands)
{
    const Evolution ev = FourStageEvolution();
    ASSERT_EQ(ev.chart.size(), 5);
    const char* titles[] = {"FMA", "FMIA", "IMPA", "ANB", "Ang. Z"};
    const NormBand bands[] = {{22, 28}, {65, 68}, {88, 94}, {1, 5}, {70, 80}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(S(ev.chart[i].title), titles[i]);
        EXPECT_EQ(ev.chart[i].band, bands[i]);
    }
    EXPECT_EQ(ev.chart[0].values, (QList<std::optional<double>>{25.0, 26.5, 31.0, 24.0}));
    EXPECT_EQ(ev.chart[4].values, (QList<std::optional<double>>{75.0, 68.0, 75.0, 77.0}));
}

// A chart's title carries its range as the table's caption does, degrees and all.
TEST(ChartHeading, TheCaptionWithoutItsPadding)
{
    const std::pair<const char*, const char*> cases[] = {
        {"FMA (22° a 28°)", "FMA (22° a 28°)"},         {"FMIA (65° a 68°)", "FMIA (65° a 68°)"},
        {"ANB ( 1° a 5°)", "ANB (1° a 5°)"},            {"Ang. Z ( 70° a 80°)", "Ang. Z (70° a 80°)"},
        {"AO - BO ( 0 a 4 mm)", "AO - BO (0 a 4 mm)"},  {"AFP / AFA ( 65% a 75%)", "AFP / AFA (65% a 75%)"},
        {"LS", "LS"}};
    for (const auto& [caption, heading] : cases)
        EXPECT_EQ(S(ChartHeading(QString::fromUtf8(caption))), heading) << caption;
}

// Whole values, halves and the rounding of a second decimal all read with one decimal.
TEST(ChartPointLabel, OneDecimalEverywhere)
{
    const std::pair<double, const char*> cases[] = {{29, "29.0"},   {29.5, "29.5"}, {0, "0.0"},      {-2, "-2.0"},
                                                    {-2.5, "-2.5"}, {0.25, "0.3"},  {-0.25, "-0.3"}, {103, "103.0"}};
    for (const auto& [value, label] : cases)
        EXPECT_EQ(S(ChartPointLabel(value)), label) << value;
}

TEST(Evolution, ChartTitlesAndLabelsReadAsTheTable)
{
    const Evolution ev = FourStageEvolution();
    ASSERT_EQ(ev.chart.size(), 5);
    const char* headings[] = {"FMA (22° a 28°)", "FMIA (65° a 68°)", "IMPA (88° a 94°)", "ANB (1° a 5°)",
                              "Ang. Z (70° a 80°)"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(S(ev.chart[i].heading), headings[i]);
        EXPECT_TRUE(ev.chart[i].heading.contains(u'°'));
        ASSERT_EQ(ev.chart[i].labels.size(), ev.chart[i].values.size());
    }
    // "31" as typed on the page is labelled "31.0" beside "26.5".
    EXPECT_EQ(ev.chart[0].labels, QStringList({"25.0", "26.5", "31.0", "24.0"}));
    EXPECT_EQ(ev.chart[4].labels, QStringList({"75.0", "68.0", "75.0", "77.0"}));
}

// A stage without a value has no label.
TEST(Evolution, ChartLabelsLeaveMissingValuesEmpty)
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    const Evolution ev = BuildEvolution(QStringLiteral("ANA"), {EvolutionStage{0, CalculateStage(files[0])},
                                                               EvolutionStage{2, CalculateStage(QByteArray("short"))}});
    ASSERT_EQ(ev.chart.size(), 5);
    EXPECT_EQ(ev.chart[0].labels, QStringList({"25.0", ""}));
    EXPECT_FALSE(ev.chart[0].values[1].has_value());
}

TEST(EvolutionReport, TableCellsByRowAndColumnAndTheChartAsAnImage)
{
    const auto files = test::FourStages(QStringLiteral("ANA"));
    const Evolution ev = BuildEvolution(QStringLiteral("ANA"), {{1, CalculateStage(files[1])}, {3, CalculateStage(files[3])}});
    const QByteArray png("\x89PNG-bytes", 10);
    const EvolutionReportPlan plan = BuildEvolutionReport(ev, png);
    QHash<QString, QString> p;
    for (const ReportParam& param : plan.params) {
        EXPECT_FALSE(p.contains(param.name)) << S(param.name);
        p.insert(param.name, param.text);
    }
    EXPECT_EQ(plan.lastPage, 2);
    EXPECT_EQ(S(p["nome"]), "Paciente:  ANA");
    // Present stages from the left.
    EXPECT_EQ(S(p["fase1"]), "Inter 1");
    EXPECT_EQ(S(p["fase2"]), "Final");
    EXPECT_EQ(S(p["fase3"]), "");
    EXPECT_EQ(S(p["variacao"]), "Variação Inter 1 → Final");
    int fma = -1;
    for (int r = 0; r < ev.rows.size(); ++r)
        if (ev.rows[r].name == QLatin1String("twfma"))
            fma = r + 1;
    ASSERT_GT(fma, 0);
    EXPECT_EQ(S(p[EvolutionCellParam(fma, "rot")]), "FMA (22° a 28°)");
    EXPECT_EQ(S(p[EvolutionCellParam(fma, "f1")]), "26.5");
    EXPECT_EQ(S(p[EvolutionCellParam(fma, "f2")]), "24.0");
    EXPECT_EQ(S(p[EvolutionCellParam(fma, "f3")]), "");
    EXPECT_EQ(S(p[EvolutionCellParam(fma, "var")]), "-2.5");
    EXPECT_EQ(S(EvolutionCellParam(7, "f4")), "l07f4");
    ASSERT_TRUE(p["grafico"].startsWith(QStringLiteral("data:image/png;base64,")));
    EXPECT_EQ(QByteArray::fromBase64(p["grafico"].mid(22).toLatin1()), png);
}

// Each patient's report is offered under a name of its own, so one never overwrites another's.
TEST(EvolutionReport, PdfNamesArePerPatient)
{
    const std::pair<const char*, const char*> names[] = {{"ANA", "ANA-EVOLUÇÃO.pdf"},
                                                         {"JOSÉ DA SILVA", "JOSÉ DA SILVA-EVOLUÇÃO.pdf"},
                                                         {"ANA B", "ANA B-EVOLUÇÃO.pdf"}};
    for (const auto& [patient, name] : names)
        EXPECT_EQ(S(EvolutionPdfName(QString::fromUtf8(patient))), name);
    const std::pair<const char*, const char*> suffixes[] = {{"/tmp/a", "/tmp/a.pdf"},
                                                            {"/tmp/a.pdf", "/tmp/a.pdf"},
                                                            {"/tmp/a.PDF", "/tmp/a.PDF"},
                                                            {"/tmp/a.pdf.txt", "/tmp/a.pdf.txt.pdf"},
                                                            {"/tmp/pdf", "/tmp/pdf.pdf"}};
    for (const auto& [chosen, written] : suffixes)
        EXPECT_EQ(S(WithPdfSuffix(QString::fromUtf8(chosen))), written);
}

// The template of report5 in the shipped project and the builder name the same parameters.
TEST(EvolutionReport, TheTemplateUsesEveryParameterAndNoOther)
{
    QFile file(QStringLiteral(QUORVEL_SOURCE_DIR "/data/reports.rav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString project = QString::fromLatin1(file.readAll());
    const qsizetype start = project.indexOf(QStringLiteral("<report name=\"report5\""));
    ASSERT_GE(start, 0);
    const QString html = project.mid(start, project.indexOf(QStringLiteral("</report>"), start) - start);
    QSet<QString> used;
    static const QRegularExpression placeholder(QStringLiteral("\\{([a-z0-9]+)\\}"));
    for (auto it = placeholder.globalMatch(html); it.hasNext();)
        used.insert(it.next().captured(1));
    for (const char* engine : {"title", "date", "page", "pages"})
        used.remove(QLatin1String(engine));
    used.insert(QStringLiteral("nome"));  // placed by the header every report shares
    QSet<QString> set;
    for (const ReportParam& p : BuildEvolutionReport(FourStageEvolution(), "png").params)
        set.insert(p.name);
    EXPECT_EQ(used, set);
}

}  // namespace
