// The analyses read from their definition files: every operation on hand-made points, the ramus
// centre on a rectangle, the new analyses, and files refused with their line and reason.

#include "analysis/AnalysisCatalogue.h"
#include "analysis/AnalysisEval.h"

#include "FacePoints.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>
#include <numbers>

using namespace qv;
using L = Landmark;

namespace {

using test::deg;
using test::Pt;

// As CephMeasuresTest: S (0, 0), N (70, 0) and Frankfort level through y 30.
LandmarkSet place(std::initializer_list<Pt> pts, double sx, double sy, bool mirror)
{
    return test::PlaceFace({{L::S, 0, 0}, {L::N, 70, 0}, {L::Po, -10, 30}, {L::Or, 60, 30}}, pts, sx, sy, mirror);
}

const AnalysisDefinition& analysis(const char* title)
{
    const AnalysisDefinition* a = ShippedAnalyses().find(QString::fromUtf8(title));
    EXPECT_TRUE(a) << title;
    return *a;
}

int measureIndex(const AnalysisDefinition& a, const char* caption)
{
    for (size_t i = 0; i < a.measures.size(); ++i)
        if (a.measures[i].caption == QString::fromUtf8(caption))
            return int(i);
    ADD_FAILURE() << a.title.toStdString() << " has no " << caption;
    return 0;
}

TEST(AnalysisDefinitions, EveryShippedFileLoadsInItsOrder)
{
    EXPECT_TRUE(ShippedAnalyses().refused.isEmpty()) << ShippedAnalyses().refused.join(u'\n').toStdString();
    EXPECT_EQ(ShippedAnalyses().titles(),
              (QStringList{"Tweed-Merrifield", "Steiner", "Downs", "McNamara", "Jarabak", "Ricketts (resumo)",
                           "Tecidos moles", "Wits", QString::fromUtf8("Padrão USP"), "Ricketts (11 fatores)", "Holdaway"}));
    // Every landmark of the catalogue serves some shipped analysis.
    EXPECT_EQ(LandmarksFor(ShippedAnalyses(), ShippedAnalyses().titles()).size(), size_t(kLandmarkCount));
}

// The new analyses and the operations only they use, on points whose answers are known.
struct Case {
    const char* analysis;
    const char* measure;
    std::initializer_list<Pt> points;  // besides S, N, Po and Or
    double expected;
};

// R1 (20, 60), R2 (0, 60), R3 (10, 40), R4 (10, 100): Xi is the rectangle's centre (10, 70).
#define RAMUS {L::R1, 20, 60}, {L::R2, 0, 60}, {L::R3, 10, 40}, {L::R4, 10, 100}

const Case kCases[] = {
    {"Padrão USP", "NAP", {{L::A, 72, 50}, {L::Pog, 70, 100}}, 2 * deg(std::atan(2.0 / 50))},
    {"Padrão USP", "SND", {{L::D, 70, 100}}, 90},
    {"Padrão USP", "SN.Ocl", {{L::OclP, 60, 60}, {L::OclA, 10, 10}}, 45},
    {"Padrão USP", "SN.GoMe", {{L::Go, 0, 80}, {L::Me, 80, 100}}, deg(std::atan(0.25))},
    {"Padrão USP", "SN.Gn", {{L::Gn, 70, 70}}, 45},
    {"Padrão USP", "Pog-NB", {{L::B, 70, 90}, {L::Pog, 72, 100}}, 2},
    {"Padrão USP", "H-nariz", {{L::Ls, 90, 80}, {L::PogSoft, 90, 120}, {L::Prn, 101, 55}}, 11},
    {"Ricketts (11 fatores)", "profundidade facial", {{L::Pog, 70, 100}}, 90},
    {"Ricketts (11 fatores)", "plano mandibular", {{L::Go, 0, 80}, {L::Me, 100, 180}}, 45},
    {"Ricketts (11 fatores)", "altura facial inferior", {RAMUS, {L::ENA, 60, 70}, {L::Pm, 10, 120}}, 90},
    {"Ricketts (11 fatores)", "arco mandibular", {RAMUS, {L::Dc, -10, 50}, {L::Pm, 30, 90}}, 0},
    {"Ricketts (11 fatores)", "arco mandibular", {RAMUS, {L::Dc, 10, 20}, {L::Pm, 60, 70}}, 90},
    {"Ricketts (11 fatores)", "6-PTV", {{L::Pt, 10, 20}, {L::U6, 28, 70}}, 18},
    {"Holdaway", "Sn-H", {{L::Ls, 90, 80}, {L::PogSoft, 90, 120}, {L::Sn, 84, 68}}, 6},
    {"Holdaway", "lábio inferior-H", {{L::Ls, 90, 80}, {L::PogSoft, 90, 120}, {L::Li, 89, 95}}, -1},
    {"Holdaway", "espessura do mento", {{L::Pog, 70, 100}, {L::PogSoft, 82, 105}}, 13},
    {"Holdaway", "ângulo facial mole", {{L::NSoft, 80, 5}, {L::PogSoft, 80, 120}}, 90},
    {"Holdaway", "convexidade esquelética", {{L::A, 68, 50}, {L::Pog, 70, 100}}, -2},
};

TEST(AnalysisDefinitions, KnownAnswersWhicheverWayTheFaceLooksAndHoweverPixelsAreShaped)
{
    struct Spacing {
        double sx, sy;
    };
    for (const Case& c : kCases) {
        const AnalysisDefinition& a = analysis(c.analysis);
        const int m = measureIndex(a, c.measure);
        for (bool mirror : {false, true})
            for (Spacing s : {Spacing{1, 1}, Spacing{0.1, 0.25}, Spacing{0.3, 0.07}}) {
                const AnalysisResults r = EvaluateAnalysis(a, place(c.points, s.sx, s.sy, mirror), {s.sx, s.sy});
                ASSERT_TRUE(r[size_t(m)].ok()) << c.analysis << " " << c.measure << " status " << r[size_t(m)].status;
                EXPECT_NEAR(r[size_t(m)].value, c.expected, 1e-9)
                    << c.analysis << " " << c.measure << (mirror ? " mirrored" : "") << " spacing " << s.sx << "," << s.sy;
            }
    }
}

TEST(AnalysisDefinitions, RamusCentreIsTheRectanglesCentreOnATiltedFrankfort)
{
    // Frankfort tilted by 30°, the rectangle R1..R4 drawn in its frame: Xi lands at its centre.
    const double t = std::numbers::pi / 6;
    const auto frame = [&](double u, double v) { return QPointF(u * std::cos(t) - v * std::sin(t), u * std::sin(t) + v * std::cos(t)); };
    for (bool mirror : {false, true}) {
        const double side = mirror ? -1 : 1;
        LandmarkSet s;
        s.set(L::Po, frame(0, 0));
        s.set(L::Or, frame(side * 80, 0));
        s.set(L::R1, frame(side * 30, 25));
        s.set(L::R2, frame(side * 10, 15));
        s.set(L::R3, frame(side * 22, 5));
        s.set(L::R4, frame(side * 18, 45));
        const auto xi = ConstructedPoints(analysis("Ricketts (11 fatores)"), s, {0.5, 0.5});
        ASSERT_EQ(xi.size(), 1u);
        ASSERT_TRUE(xi[0]);
        const QPointF want = frame(side * 20, 25);
        EXPECT_NEAR(xi[0]->x(), want.x(), 1e-9);
        EXPECT_NEAR(xi[0]->y(), want.y(), 1e-9);
        // An upright Frankfort leaves no "inferior": no Xi, and no measure through it.
        s.set(L::Or, QPointF(0, 80));
        EXPECT_FALSE(ConstructedPoints(analysis("Ricketts (11 fatores)"), s, {0.5, 0.5})[0]);
    }
}

TEST(AnalysisDefinitions, DegenerateLinesMissingPointsAndNoCalibrationNeverGiveAValue)
{
    const AnalysisDefinition& usp = analysis("Padrão USP");
    const AnalysisDefinition& ricketts = analysis("Ricketts (11 fatores)");
    const struct {
        const AnalysisDefinition& a;
        const char* measure;
        std::initializer_list<Pt> points;
        Calibration calibration;
        MeasureResult::Status status;
    } cases[] = {
        {usp, "SND", {{L::D, 70, 0}}, {1, 1}, MeasureResult::Undefined},                          // D on N
        {usp, "H-nariz", {{L::Ls, 90, 80}, {L::PogSoft, 90, 80}, {L::Prn, 101, 55}}, {1, 1}, MeasureResult::Undefined},
        {usp, "H-nariz", {{L::Ls, 90, 80}, {L::PogSoft, 90, 120}, {L::Prn, 101, 55}}, {}, MeasureResult::Uncalibrated},
        {usp, "SN.Gn", {}, {1, 1}, MeasureResult::Missing},
        {ricketts, "altura facial inferior", {RAMUS, {L::ENA, 60, 70}, {L::Pm, 10, 70}}, {1, 1}, MeasureResult::Undefined},
        {ricketts, "6-PTV", {{L::Pt, 10, 20}, {L::U6, 28, 70}}, {0, 1}, MeasureResult::Uncalibrated},
    };
    for (const auto& c : cases) {
        const int m = measureIndex(c.a, c.measure);
        EXPECT_EQ(EvaluateAnalysis(c.a, place(c.points, 1, 1, false), c.calibration)[size_t(m)].status, c.status) << c.measure;
    }
    const MeasureDefinition& arc = ricketts.measures[size_t(measureIndex(ricketts, "arco mandibular"))];
    EXPECT_EQ(MissingLandmarks(arc, place({{L::R1, 0, 0}}, 1, 1, false)),
              (std::vector<L>{L::Pm, L::Dc, L::R2, L::R3, L::R4}));
}

// A definition with one fault per case: the file is refused naming its line and the reason.
TEST(AnalysisDefinitions, MalformedUnknownAndLoopingFilesAreRefusedWithLineAndReason)
{
    const QByteArray head = "{\"formato\": \"quorvel-analise\", \"versao\": 1, \"titulo\": \"Minha\",\n\"pontos\": [\"S\", \"N\", \"A\", \"B\"],\n";
    const auto measure = [](const char* value) {
        return QByteArray("\"medidas\": [\n{\"rotulo\": \"X\", \"unidade\": \"°\", \"norma\": null,\n\"valor\": ") + value + "}]}";
    };
    const struct {
        QByteArray text;
        const char* error;
    } cases[] = {
        {"", "Minha.json, linha 1: o arquivo está vazio"},
        {head + "\"medidas\": [\n{\"rotulo\": \"X\",}]}", "Minha.json, linha 4: esperado um nome entre aspas"},
        {"{\"formato\": \"quorvel-normas\"}", "Minha.json, linha 1: não é uma definição de análise"},
        {head + measure("{\"op\": \"angle_at\", \"vertex\": \"N\", \"points\": [\"S\", \"Xi\"]}"),
         "Minha.json, linha 5: ponto desconhecido: \"Xi\""},
        {head + measure("{\"op\": \"angle_at\", \"vertex\": \"N\", \"points\": [\"S\", \"Pog\"]}"),
         "Minha.json, linha 5: o ponto Pog é usado mas não está em \"pontos\""},
        {head + measure("{\"op\": \"bisector\"}"), "Minha.json, linha 5: operação desconhecida: \"bisector\""},
        {head + measure("{\"op\": \"measure\", \"caption\": \"X\"}"), "Minha.json, linha 4: a medida \"X\" depende de si mesma"},
        {head + measure("{\"op\": \"length\", \"points\": [\"S\"]}"), "Minha.json, linha 5: esperada uma lista de dois pontos"},
        {head + "\"construidos\": [{\"nome\": \"P\", \"op\": \"midpoint\", \"points\": [\"Q\", \"S\"]},\n"
                "{\"nome\": \"Q\", \"op\": \"midpoint\", \"points\": [\"P\", \"N\"]}],\n" + measure("{\"op\": \"length\", \"points\": [\"P\", \"S\"]}"),
         "Minha.json, linha 3: o ponto \"P\" é construído a partir de si mesmo"},
        {head + "\"medidas\": [\n{\"rotulo\": \"X\", \"unidade\": \"graus\", \"valor\": 1}]}",
         "Minha.json, linha 4: unidade desconhecida: \"graus\""},
        {head + "\"medidas\": [\n{\"rotulo\": \"X\", \"unidade\": \"°\",\n\"norma\": {\"media\": 1, \"dp\": 1e-320}, \"valor\": 1}]}",
         "Minha.json, linha 5: X: a média deve estar entre -1000 e 1000 e o desvio-padrão entre 0,001 e 1000"},
        {head + "\"medidas\": [\n{\"rotulo\": \"X\", \"unidade\": \"°\", \"nroma\": null, \"valor\": 1}]}",
         "Minha.json, linha 4: nome desconhecido: \"nroma\""},
    };
    for (const auto& c : cases) {
        const ReadDefinition r = ReadAnalysisDefinition(c.text, QStringLiteral("Minha.json"), false);
        EXPECT_FALSE(r.analysis) << c.text.toStdString();
        EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(c.error))) << c.text.toStdString() << "\n -> " << r.error.toStdString();
    }
    // The same file mended is read.
    EXPECT_TRUE(ReadAnalysisDefinition(head + measure("{\"op\": \"angle_at\", \"vertex\": \"N\", \"points\": [\"S\", \"A\"]}"),
                                       QStringLiteral("Minha.json"), false)
                    .analysis);
}

TEST(AnalysisDefinitions, TheDocumentedExampleIsRead)
{
    QFile doc(QStringLiteral(QUORVEL_DOCS_DIR "/analyses.md"));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QByteArray text = doc.readAll().replace("\r", "");  // whatever line endings a checkout gave it
    const qsizetype from = text.indexOf("```json\n") + 8, to = text.indexOf("```", from);
    ASSERT_GT(from, 8);
    const ReadDefinition r = ReadAnalysisDefinition(text.mid(from, to - from), QStringLiteral("clinica.json"), false);
    ASSERT_TRUE(r.analysis) << r.error.toStdString();
    EXPECT_EQ(r.analysis->measures.size(), 8u);
    EXPECT_EQ(r.analysis->constructed.size(), 2u);
}

}  // namespace
