// The definition files of the eight analyses the program has always had give, bit for bit, the
// values and states the program computed before its analyses were definitions: the expected
// results (data/values-before-definitions.txt) were written by those compiled analyses, and with
// them each measure's caption, unit, norm and the landmarks it rests on
// (data/measures-before-definitions.txt).

#include "analysis/AnalysisCatalogue.h"
#include "analysis/AnalysisEval.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <bit>
#include <cmath>

using namespace qv;

namespace {

// A face looking right, in millimetres; each case moves every point by up to 10 mm.
const double kFace[kLandmarkCount][2] = {
    {20, 40}, {90, 35}, {5, 75}, {75, 70}, {85, 105}, {35, 105}, {88, 115}, {82, 160}, {15, 90}, {22, 135},
    {40, 175}, {78, 190}, {90, 140}, {70, 170}, {95, 130}, {45, 138}, {92, 136}, {105, 125}, {102, 150},
    {98, 185}, {85, 180}, {82, 188}, {30, 170}, {12, 80}, {10, 100}, {38, 80}, {75, 95}, {115, 95},
    {100, 110}, {108, 105}, {80, 172}, {84, 170}, {14, 85}, {40, 120}, {20, 122}, {30, 100}, {30, 150},
    {50, 135}, {95, 38},
};
constexpr int kOldAnalyses = 8;  // Tweed-Merrifield .. Wits, the first eight shipped

// The value's 64 bits, as the same text on every platform.
QString hex(double v) { return QStringLiteral("%1").arg(std::bit_cast<quint64>(v), 16, 16, QLatin1Char('0')); }

QStringList lines(const char* name)
{
    QFile f(QStringLiteral(QUORVEL_TEST_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    // Whatever line endings a checkout gave the file.
    QStringList l = QString::fromUtf8(f.readAll()).remove(u'\r').split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

// Faces jittered, mirrored, with pixels of several shapes, some points missing; every fifth on a
// coarse grid where points coincide and line up.
QStringList measured()
{
    const AnalysisCatalogue& shipped = ShippedAnalyses();
    QRandomGenerator rng(26);
    QStringList out;
    for (int round = 0; round < 48; ++round) {
        LandmarkSet points;
        const bool mirror = round % 2 == 1;
        const bool coarse = round % 5 == 4;
        const double sx = std::array{0.1, 0.07, 0.3, 1.0}[size_t(round % 4)];
        const double sy = round % 3 == 0 ? sx : sx * 1.7;
        for (int i = 0; i < kLandmarkCount; ++i) {
            if (rng.bounded(8) == 0)
                continue;
            double x = kFace[i][0] + rng.generateDouble() * 20 - 10, y = kFace[i][1] + rng.generateDouble() * 20 - 10;
            if (coarse) {
                x = rng.bounded(4) * 10.0;
                y = rng.bounded(4) * 10.0;
            }
            points.set(LandmarkAt(i), QPointF((mirror ? 300 - x : x) / sx, y / sy));
        }
        for (const Calibration& c : {Calibration{sx, sy}, Calibration::none()})
            for (int a = 0; a < kOldAnalyses; ++a) {
                const AnalysisResults now = EvaluateAnalysis(shipped.analyses[size_t(a)], points, c);
                for (size_t i = 0; i < now.size(); ++i)
                    out << QStringLiteral("%1 %2 %3 %4 %5").arg(round).arg(c.known() ? 1 : 0).arg(a).arg(i).arg(
                               now[i].ok() ? hex(now[i].value) : QStringLiteral("s%1").arg(now[i].status));
            }
    }
    return out;
}

TEST(DefinitionsMatch, EveryMeasureOfTheEightAnalysesIsBitForBitWhatItWas)
{
    const QStringList expected = lines("values-before-definitions.txt");
    const QStringList now = measured();
    ASSERT_EQ(now.size(), expected.size());
    for (qsizetype i = 0; i < now.size(); ++i) {
#if defined(__GLIBC__)
        ASSERT_EQ(now[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
#else
        // Recorded with glibc's mathematics: another C library may round atan2 and hypot in the
        // last bit, never more.
        const QStringList a = now[i].split(u' '), b = expected[i].split(u' ');
        ASSERT_EQ(a.mid(0, 4), b.mid(0, 4)) << "line " << i + 1;
        ASSERT_EQ(a[4].startsWith(u's'), b[4].startsWith(u's')) << "line " << i + 1;
        if (a[4].startsWith(u's')) {
            ASSERT_EQ(a[4], b[4]) << "line " << i + 1;
            continue;
        }
        const double x = std::bit_cast<double>(a[4].toULongLong(nullptr, 16)), y = std::bit_cast<double>(b[4].toULongLong(nullptr, 16));
        ASSERT_NEAR(x, y, 1e-12 * std::max(1.0, std::abs(y))) << "line " << i + 1;
#endif
    }
}

TEST(DefinitionsMatch, CaptionsUnitsNormsAndPointsAreWhatTheyWere)
{
    QStringList now;
    for (int a = 0; a < kOldAnalyses; ++a)
        for (const MeasureDefinition& m : ShippedAnalyses().analyses[size_t(a)].measures) {
            QStringList codes;
            for (Landmark l : m.landmarks)
                codes << LandmarkCode(l);
            now << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(ShippedAnalyses().analyses[size_t(a)].title, m.caption, UnitText(m.unit),
                            m.norm ? QStringLiteral("%1 %2").arg(m.norm->mean).arg(m.norm->sd) : QStringLiteral("-"),
                            codes.join(u' '));
        }
    if (qEnvironmentVariableIsSet("WRITE_GOLDEN")) {
        QFile f(QStringLiteral(QUORVEL_TEST_DATA "/measures-before-definitions.txt"));
        f.open(QIODevice::WriteOnly);
        f.write((now.join(u'\n') + u'\n').toUtf8());
    }
    EXPECT_EQ(now, lines("measures-before-definitions.txt"));
}

}  // namespace
