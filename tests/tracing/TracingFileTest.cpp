// The tracing file: exact bytes, the round trip, files from other tools, and damaged forms.

#include "analysis/TracingFile.h"
#include "analysis/TracingValues.h"

#include <limits>

#include <gtest/gtest.h>

using namespace qv;
using L = Landmark;

namespace {

TracingDocument sample()
{
    TracingDocument d;
    d.image = QStringLiteral("/home/clínica/Radiografias/JOÃO ç.dcm");
    d.calibration = {0.1, 0.125};
    d.landmarks.set(L::S, QPointF(1523.25, 804.5));
    d.landmarks.set(L::PogSoft, QPointF(0.1, 2499.999));
    d.landmarks.set(L::OclA, QPointF(0, 0));
    d.landmarks.set(L::Ii, QPointF(1e-3, 123456.789));
    return d;
}

TEST(TracingFile, ExactBytesOfASmallTracing)
{
    TracingDocument d;
    d.image = QStringLiteral("r.png");
    d.landmarks.set(L::S, QPointF(1.5, 2));
    d.landmarks.set(L::PogSoft, QPointF(-0.25, 1e6));
    const QByteArray expected = "{\n"
                                "    \"format\": \"quorvel-tracing\",\n"
                                "    \"image\": \"r.png\",\n"
                                "    \"landmarks\": {\n"
                                "        \"Pog'\": [\n"
                                "            -0.25,\n"
                                "            1000000\n"
                                "        ],\n"
                                "        \"S\": [\n"
                                "            1.5,\n"
                                "            2\n"
                                "        ]\n"
                                "    },\n"
                                "    \"mmPerPixel\": null,\n"
                                "    \"version\": 1\n"
                                "}\n";
    EXPECT_EQ(EncodeTracing(d), expected);
    d.calibration = {0.1, 0.2};
    EXPECT_TRUE(EncodeTracing(d).contains("\"mmPerPixel\": [\n        0.1,\n        0.2\n    ],"));
}

TEST(TracingFile, RoundTripIsByteForByte)
{
    const TracingDocument d = sample();
    const QByteArray bytes = EncodeTracing(d);
    const DecodedTracing back = DecodeTracing(bytes);
    ASSERT_TRUE(back.document.has_value()) << back.error.toStdString();
    EXPECT_EQ(*back.document, d);
    EXPECT_EQ(EncodeTracing(*back.document), bytes);
    EXPECT_TRUE(bytes.contains(QStringLiteral("JOÃO ç").toUtf8()));  // UTF-8, not escaped
    EXPECT_FALSE(bytes.contains("\"B\""));                            // not placed: absent
}

TEST(TracingFile, ReadsWhatAnotherToolWrote)
{
    const QByteArray other = R"({"landmarks":{"N":[10,20.5],"Pog'":[3,4]},"version":1.0,"mmPerPixel":[0.2,0.1],)"
                             R"("image":"C:\\Raios X\\p.dcm","format":"quorvel-tracing","comment":"extra"})";
    const DecodedTracing d = DecodeTracing(other);
    ASSERT_TRUE(d.document.has_value()) << d.error.toStdString();
    EXPECT_EQ(d.document->image, QStringLiteral("C:\\Raios X\\p.dcm"));
    EXPECT_EQ(d.document->calibration, (Calibration{0.2, 0.1}));
    EXPECT_EQ(d.document->landmarks.count(), 2);
    EXPECT_EQ(d.document->landmarks.at(L::N), QPointF(10, 20.5));
    EXPECT_EQ(d.document->landmarks.at(L::PogSoft), QPointF(3, 4));
}

TEST(TracingFile, DamagedFormsAreRefusedWithAReason)
{
    const QByteArray good = EncodeTracing(sample());
    struct Case {
        QByteArray bytes;
        const char* reason;
    };
    const auto with = [](const char* body) {
        return QByteArray(R"({"format":"quorvel-tracing","version":1,"image":"a.png",)") + body + "}";
    };
    const Case cases[] = {
        {"", "JSON"},
        {good.left(good.size() / 2), "JSON"},
        {"[1, 2]", "não é um arquivo de traçado"},
        {R"({"format":"other","version":1,"image":"","mmPerPixel":null,"landmarks":{}})", "não é um arquivo de traçado"},
        {R"({"format":"quorvel-tracing","version":2,"image":"","mmPerPixel":null,"landmarks":{}})", "versão"},
        {R"({"format":"quorvel-tracing","version":"1","image":"","mmPerPixel":null,"landmarks":{}})", "versão"},
        {R"({"format":"quorvel-tracing","version":1,"mmPerPixel":null,"landmarks":{}})", "imagem"},
        {with(R"("mmPerPixel":[0.1],"landmarks":{})"), "calibração"},
        {with(R"("mmPerPixel":[0,0.1],"landmarks":{})"), "calibração"},
        {with(R"("mmPerPixel":[-0.1,0.1],"landmarks":{})"), "calibração"},
        {with(R"("mmPerPixel":"0.1","landmarks":{})"), "calibração"},
        {with(R"("landmarks":{})"), "calibração"},  // mmPerPixel absent is not null
        {with(R"("mmPerPixel":null)"), "lista de pontos"},
        {with(R"("mmPerPixel":null,"landmarks":[])"), "lista de pontos"},
        {with(R"("mmPerPixel":null,"landmarks":{"Xx":[1,2]})"), "\"Xx\" é desconhecido"},
        {with(R"("mmPerPixel":null,"landmarks":{"s":[1,2]})"), "\"s\" é desconhecido"},
        {with(R"("mmPerPixel":null,"landmarks":{"S":[1]})"), "coordenadas do ponto \"S\""},
        {with(R"("mmPerPixel":null,"landmarks":{"S":[1,2,3]})"), "coordenadas do ponto \"S\""},
        {with(R"("mmPerPixel":null,"landmarks":{"S":[1,"2"]})"), "coordenadas do ponto \"S\""},
        {with(R"("mmPerPixel":null,"landmarks":{"S":{"x":1,"y":2}})"), "coordenadas do ponto \"S\""},
        // Found by fuzzing: what no radiograph can have.
        {with(R"("mmPerPixel":[1e-300,1e-300],"landmarks":{})"), "fora do que uma radiografia pode ter"},
        {with(R"("mmPerPixel":[0.1,1e300],"landmarks":{})"), "fora do que uma radiografia pode ter"},
        {with(R"("mmPerPixel":null,"landmarks":{"S":[1e300,2]})"), "coordenadas do ponto \"S\" estão fora de qualquer"},
        {with(R"("mmPerPixel":null,"landmarks":{"Pog'":[1,-1000001]})"), "coordenadas do ponto \"Pog'\" estão fora"},
    };
    for (const Case& c : cases) {
        const DecodedTracing d = DecodeTracing(c.bytes);
        EXPECT_FALSE(d.document.has_value()) << c.bytes.constData();
        EXPECT_TRUE(d.error.contains(QString::fromUtf8(c.reason))) << d.error.toStdString() << " / " << c.bytes.constData();
    }
}

TEST(TracingFile, NamedAfterPatientAndStage)
{
    EXPECT_EQ(TracingFileName(QStringLiteral("MARIA DA SILVA"), QStringLiteral("INTER1")),
              QStringLiteral("Análises/MARIA DA SILVA-INTER1.tra"));
    EXPECT_EQ(TracingFileName(QStringLiteral("JOÃO"), QStringLiteral("FINAL")), QStringLiteral("Análises/JOÃO-FINAL.tra"));
}

TEST(TracingFile, PointsMayLieUpToOneImageSizeBeyondEachEdge)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        QPointF s;
        bool accepted;
    };
    // An 800 x 600 radiograph: x in -800 .. 1600, y in -600 .. 1200.
    const Case cases[] = {
        {{0, 0}, true},          {{799.5, 599.5}, true},  {{-800, -600}, true},    {{1600, 1200}, true},
        {{-800.01, 0}, false},   {{1600.01, 0}, false},   {{0, -600.01}, false},   {{0, 1200.01}, false},
        {{1e308, 60}, false},    {{1.8e7, 60}, false},    {{60, -1e308}, false},   {{inf, 0}, false},
        {{0, nan}, false},       {{nan, nan}, false},
    };
    const QRectF area = PlausibleArea(QSizeF(800, 600));
    for (const Case& c : cases) {
        LandmarkSet points;
        points.set(L::N, QPointF(400, 300));
        points.set(L::PogSoft, c.s);
        const auto outside = LandmarkOutside(points, area);
        EXPECT_EQ(outside.has_value(), !c.accepted) << c.s.x() << ", " << c.s.y();
        if (outside) {
            EXPECT_EQ(*outside, L::PogSoft);
        }
    }
    EXPECT_EQ(LandmarkOutside({}, area), std::nullopt);
}

TEST(TracingFile, TheBlankCanvasHoldsThePointsUpToItsLimit)
{
    struct Case {
        std::vector<QPointF> points;
        QSize canvas;
        bool accepted;
    };
    const Case cases[] = {
        {{}, {1000, 800}, true},
        {{{100, 100}}, {1000, 800}, true},
        {{{2000, 1000}}, {2200, 1100}, true},  // a tenth beyond the farthest point
        {{{5999, 10}, {10, 5999}}, {6000, 6000}, true},
        {{{-6000, -6000}}, {1000, 800}, true},
        {{{6000, 6000}}, {6000, 6000}, true},
        {{{6000.5, 10}}, {6000, 800}, false},
        {{{1.8e7, 10}}, {6000, 800}, false},
        {{{10, -6000.5}}, {1000, 800}, false},
    };
    for (const Case& c : cases) {
        LandmarkSet points;
        for (size_t i = 0; i < c.points.size(); ++i)
            points.set(LandmarkAt(int(i)), c.points[i]);
        EXPECT_EQ(!LandmarkOutside(points, BlankCanvasArea()).has_value(), c.accepted) << c.points.size();
        EXPECT_EQ(BlankCanvasSize(points), c.canvas) << c.points.size();
    }
}

TEST(TracingValues, TextsLongerThanTheirTweedFieldAreNotApplied)
{
    struct Case {
        QString TracingValues::*member;
        QString text;
        bool kept;
        const char* caption;
    };
    const Case cases[] = {
        {&TracingValues::aoBo, QStringLiteral("-101.4"), false, "AO - BO"},
        {&TracingValues::aoBo, QStringLiteral("-10.4"), true, "AO - BO"},
        {&TracingValues::ls, QStringLiteral("-99.9"), true, "LS"},
        {&TracingValues::qt, QStringLiteral("100.0"), true, "QT"},
        {&TracingValues::afa, QStringLiteral("1016.0"), false, "AFA"},
        {&TracingValues::fma, QStringLiteral("179.9"), true, "FMA"},
        {&TracingValues::sna, QStringLiteral("12345.6"), false, "SNA"},
    };
    for (const Case& c : cases) {
        TracingValues v;
        v.impa = QStringLiteral("90.0");
        v.*(c.member) = c.text;
        TracingValues expected = v;
        const QStringList dropped = DropOverlongValues(v);
        if (c.kept) {
            EXPECT_TRUE(dropped.isEmpty()) << c.text.toStdString();
        } else {
            EXPECT_EQ(dropped, QStringList{QString::fromUtf8(c.caption)});
            expected.*(c.member) = QString();
        }
        EXPECT_EQ(v, expected) << c.text.toStdString();
    }
    TracingValues two;
    two.afp = QStringLiteral("-200.0");
    two.fmia = QStringLiteral("1000.0");
    EXPECT_EQ(DropOverlongValues(two), (QStringList{QStringLiteral("FMIA"), QStringLiteral("AFP")}));  // in the page's order
    EXPECT_EQ(two, TracingValues{});
}

}  // namespace

namespace {

TEST(TracingFile, KeepsWhichPointsAreStillOnlyProposed)
{
    TracingDocument d = sample();
    const QByteArray plain = EncodeTracing(d);
    d.proposed.set(size_t(Index(L::S)));
    d.accepted.set(size_t(Index(L::Ii)));
    d.proposed.set(size_t(Index(L::B)));  // not placed: not written
    const QByteArray bytes = EncodeTracing(d);
    EXPECT_TRUE(bytes.contains("\"proposed\": [\n        \"S\"\n    ]"));
    EXPECT_TRUE(bytes.contains("\"acceptedProposals\": [\n        \"Ii\"\n    ]"));
    EXPECT_TRUE(bytes.contains("\"version\": 1"));
    const DecodedTracing back = DecodeTracing(bytes);
    ASSERT_TRUE(back.document.has_value());
    EXPECT_TRUE(back.document->proposed.test(size_t(Index(L::S))));
    EXPECT_FALSE(back.document->proposed.test(size_t(Index(L::B))));
    EXPECT_EQ(back.document->accepted.count(), 1u);
    EXPECT_EQ(back.document->landmarks, d.landmarks);

    // Without flags the bytes are those of before; flags naming points that are not there, or
    // unknown to this program, qualify nothing.
    d.proposed.reset();
    d.accepted.reset();
    EXPECT_EQ(EncodeTracing(d), plain);
    QByteArray odd = plain;
    odd.replace("\"version\": 1", "\"proposed\": [\"B\", \"Xyz\", 3, \"S\"], \"acceptedProposals\": \"S\", \"version\": 1");
    const DecodedTracing read = DecodeTracing(odd);
    ASSERT_TRUE(read.document.has_value()) << read.error.toStdString();
    LandmarkFlags onlyS;
    onlyS.set(size_t(Index(L::S)));
    EXPECT_EQ(read.document->proposed, onlyS);
    EXPECT_TRUE(read.document->accepted.none());
}

}  // namespace
