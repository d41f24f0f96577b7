// FormTracado's files: each opened tracing or radiograph starts from nothing of the one before,
// tracings with absurd points are refused, the radiograph's path is kept relative to Análises/,
// and the exports go where the clinician says, readable by the owner only.

#include "tracing/TracingWindowFixture.h"

#include <QFile>
#include <QLineEdit>

#include <functional>

using namespace qv;
using namespace qv::test;

namespace {

class TracingFilesTest : public TracingWindowTest {
protected:
    void abrir(const QString& name, const TracingDocument& doc)
    {
        work.write(name, EncodeTracing(doc));
        dialogs.files.push_back(work.file(name));
        button("tAbrir")->click();
        EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    }
    QString calibrationShown() const { return window.findChild<QLabel*>(QStringLiteral("calstatus"))->text(); }
    QLineEdit* edit(const char* name) const { return window.findChild<QLineEdit*>(QLatin1String(name)); }
    // A calibrated tracing of another patient, with a history of moves and values typed for it.
    void openCalibratedTracing()
    {
        TracingDocument a;
        a.image = picture(QStringLiteral("Análises/ana.png"));
        a.calibration = {0.1, 0.12};
        a.landmarks = expectedPoints();
        abrir(QStringLiteral("Análises/ANA-INICIAL.tra"), a);
        ASSERT_EQ(window.calibration(), (Calibration{0.1, 0.12}));
        window.placeLandmark(L::S, QPointF(160, 70));
        edit("calmm")->setText(QStringLiteral("10"));
        edit("calmmpx")->setText(QStringLiteral("0.1"));
        ASSERT_EQ(window.undoStack().count(), 1);
    }
};

TEST_F(TracingFilesTest, EachTracingOrRadiographOpenedStartsFromNothingOfThePreviousOne)
{
    window.show();
    // Another patient's points, a little apart from the first one's.
    LandmarkSet other;
    for (const auto& [l, p] : kPlaces)
        other.set(l, QPointF(p) + QPointF(7, l == L::Me ? 40 : 3));
    struct Case {
        const char* what;
        std::function<void()> open;
        LandmarkSet points;
    };
    const Case cases[] = {
        {"an uncalibrated tracing with its radiograph",
         [&] {
             abrir(QStringLiteral("Análises/JOSE-INICIAL.tra"), {picture(QStringLiteral("Análises/jose.png")), {}, other});
         },
         other},
        {"an uncalibrated tracing without its radiograph",
         [&] {
             abrir(QStringLiteral("Análises/JOSE-INICIAL.tra"), {QStringLiteral("sumiu.png"), {}, other});
             EXPECT_EQ(dialogs.take().kind, NoticeKind::Warning);
         },
         other},
        {"a radiograph", [&] { ASSERT_TRUE(window.openImage(picture(QStringLiteral("Análises/jose.png")))); }, {}},
    };
    for (const Case& c : cases) {
        openCalibratedTracing();
        c.open();
        EXPECT_FALSE(window.calibration().known()) << c.what;
        EXPECT_TRUE(calibrationShown().startsWith(QStringLiteral("Sem calibração"))) << c.what;
        EXPECT_EQ(window.landmarks(), c.points) << c.what;
        EXPECT_EQ(window.undoStack().count(), 0) << c.what;
        EXPECT_TRUE(edit("calmm")->text().isEmpty()) << c.what;
        EXPECT_TRUE(edit("calmmpx")->text().isEmpty()) << c.what;
        // Angles from the new points alone; no distance without a calibration of their own.
        EXPECT_EQ(window.values(), MakeTracingValues(MeasureTracing(c.points, {}))) << c.what;
        EXPECT_TRUE(window.values().afa.isEmpty()) << c.what;

        patient = QStringLiteral("JOSE");
        if (QFile::exists(work.file(QStringLiteral("Análises/JOSE-INICIAL.tra"))))
            dialogs.answers.push_back(Answer::Yes);
        button("tSalvar")->click();
        if (!dialogs.pending().empty() && dialogs.pending().front().type == Box::Question)
            dialogs.take();
        dialogs.take();
        const auto saved = DecodeTracing(work.read(QStringLiteral("Análises/JOSE-INICIAL.tra"))).document;
        ASSERT_TRUE(saved.has_value()) << c.what;
        EXPECT_FALSE(saved->calibration.known()) << c.what;
        EXPECT_EQ(saved->landmarks, c.points) << c.what;
        work.remove(QStringLiteral("Análises/JOSE-INICIAL.tra"));
        patient = QStringLiteral("MARIA");
    }
}

TEST_F(TracingFilesTest, PointsFarOffTheRadiographAreRefusedNamingFileAndPoint)
{
    window.show();
    struct Case {
        QPointF s;
        bool withImage;
        bool opens;
    };
    // The picture is 800 x 600: points may lie up to one picture beyond each edge.
    const Case cases[] = {
        {{1e308, 60}, true, false},  {{1600, 60}, true, true},     {{1600.5, 60}, true, false},
        {{60, -600.5}, true, false}, {{-800, -600}, true, true},   {{1.8e7, 60}, false, false},
        {{5999, 60}, false, true},   {{6000.5, 60}, false, false}, {{60, -1e308}, false, false},
    };
    for (const Case& c : cases) {
        openCalibratedTracing();
        const LandmarkSet before = window.landmarks();
        TracingDocument doc;
        doc.image = c.withImage ? picture(QStringLiteral("Análises/jose.png")) : QStringLiteral("sumiu.png");
        doc.landmarks = expectedPoints();
        doc.landmarks.set(L::S, c.s);
        abrir(QStringLiteral("Análises/JOSE-INICIAL.tra"), doc);
        const std::string what = std::to_string(c.s.x()) + ", " + std::to_string(c.s.y());
        if (c.opens) {
            if (!c.withImage) {
                EXPECT_TRUE(dialogs.take().text.contains(QStringLiteral("fundo vazio"))) << what;
                EXPECT_LE(window.radiograph().width, kBlankCanvasLimit) << what;
            }
            EXPECT_EQ(window.landmarks(), doc.landmarks) << what;
            continue;
        }
        const Box b = dialogs.take();
        EXPECT_EQ(b.kind, NoticeKind::Error) << what;
        EXPECT_TRUE(b.text.contains(work.file(QStringLiteral("Análises/JOSE-INICIAL.tra")))) << b.text.toStdString();
        EXPECT_TRUE(b.text.contains(QStringLiteral("o ponto \"S\""))) << b.text.toStdString();
        // The tracing on screen stays as it was.
        EXPECT_EQ(window.landmarks(), before) << what;
        EXPECT_EQ(window.calibration(), (Calibration{0.1, 0.12})) << what;
        EXPECT_EQ(window.radiograph().width, 800) << what;
    }
}

}  // namespace
