// The tracing file: exact bytes, the round trip, files from other tools, and damaged forms.

#include "tracing/TracingFile.h"

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

}  // namespace
