// The tracing window's landmark proposals on the offscreen platform: what it says when it cannot
// propose, learning from the saved tracings, proposed points confirmed by a click or all at once
// and taken back by undo, APLICAR's question, the tracing file, and a damaged model file.

#include "tracing/TracingWindowFixture.h"

#include "analysis/ResultText.h"
#include "support/SyntheticFiles.h"

#include <QSignalSpy>

using namespace qv;
using namespace qv::test;

namespace {

class ProposalsWindowTest : public TracingWindowTest {
protected:
    // Tracings of small synthetic radiographs (0.5 mm a pixel) saved in Análises/.
    void saveTracings(int first, int count)
    {
        for (int seed = first; seed < first + count; ++seed)
            ASSERT_TRUE(WriteSyntheticTracing(work.path(), QStringLiteral("P%1").arg(seed), QStringLiteral("INICIAL"),
                                              std::uint32_t(seed), {.mmPerPixel = 0.5}));
    }
    bool learned()
    {
        QSignalSpy finished(&window.learning(), &LandmarkLearning::finished);
        if (!window.learning().learning() && finished.isEmpty())
            return false;
        return finished.wait(120000) && finished.first().at(0).toBool();
    }
    // A patient's radiograph that is not among the saved tracings, opened and calibrated.
    void openNewRadiograph()
    {
        const auto t = WriteSyntheticTracing(work.file(QStringLiteral("novos")), QStringLiteral("NOVO"), QStringLiteral("INICIAL"),
                                             900, {.mmPerPixel = 0.5});
        ASSERT_TRUE(t);
        ASSERT_TRUE(window.openImage(t->imageFile));
        window.setCalibration({0.5, 0.5}, QStringLiteral("Calibração informada"));
        truth = t->document.landmarks;
    }
    LandmarkSet truth;
};

TEST_F(ProposalsWindowTest, SaysWhatIsMissingInsteadOfProposing)
{
    window.tProporClick();
    EXPECT_TRUE(dialogs.take().text.startsWith(QStringLiteral("Abra a radiografia")));
    ASSERT_TRUE(window.openImage(picture()));
    window.tProporClick();
    EXPECT_TRUE(dialogs.take().text.startsWith(QStringLiteral("Calibre a radiografia")));
    window.setCalibration({0.5, 0.5}, QStringLiteral("Calibração informada"));
    saveTracings(1, 3);
    work.write(QStringLiteral("Análises/SEM-INICIAL.tra"), "{\"format\": \"quorvel-tracing\", \"version\": 1, \"image\": "
                                                          "\"SEM.png\", \"mmPerPixel\": null, \"landmarks\": {}}");
    window.tProporClick();
    const QString text = dialogs.take().text;
    EXPECT_TRUE(text.contains(QStringLiteral("pelo menos %1 traçados").arg(kMinimumTracings))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("há 3."))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("(1 traçados salvos não contam"))) << text.toStdString();
    window.tAprenderClick();
    EXPECT_TRUE(dialogs.take().text.contains(QStringLiteral("há 3.")));
    EXPECT_FALSE(window.learning().learning());
    EXPECT_FALSE(work.exists(LandmarkLearning::modelFile()));
}

TEST_F(ProposalsWindowTest, ProposedPointsAreConfirmedUndoneAskedAboutAndSaved)
{
    saveTracings(1, kMinimumTracings);
    window.tAprenderClick();
    ASSERT_TRUE(learned());
    EXPECT_TRUE(dialogs.take().text.startsWith(QStringLiteral("Pontos aprendidos com 10 traçados")));
    ASSERT_TRUE(work.exists(LandmarkLearning::modelFile()));
    ASSERT_TRUE(window.proposalAccuracy().has_value());
    EXPECT_EQ(window.proposalAccuracy()->tracings, kMinimumTracings);

    openNewRadiograph();
    window.show();
    window.canvas()->setView(1, QPointF(0, 0));
    window.tProporClick();
    const TracingModel& m = window.model();
    ASSERT_EQ(m.proposedPoints().count(), window.placingOrder().size());
    EXPECT_TRUE(button("tConfirmarTodos")->isEnabled());
    // Not the clinician's points, but near them: from ten small radiographs the mean is about
    // 11 mm (the accuracy test measures the method); a mirrored or shifted proposal is far more.
    double sum = 0;
    for (Landmark l : window.placingOrder())
        sum += std::hypot(m.landmarks().at(l).x() - truth.at(l).x(), m.landmarks().at(l).y() - truth.at(l).y()) * 0.5;
    EXPECT_LT(sum / double(window.placingOrder().size()), 25.0);

    EXPECT_TRUE(shownValue(Measure::FMA).endsWith(ProposedMark())) << shownValue(Measure::FMA).toStdString();
    EXPECT_EQ(awaitedName(), QStringLiteral("Confira os pontos propostos."));

    click(m.landmarks().at(L::Me));  // a click on a proposed point confirms it where it is
    EXPECT_EQ(m.origin(L::Me), PointOrigin::Accepted);
    window.undoStack().undo();
    EXPECT_EQ(m.origin(L::Me), PointOrigin::Proposed);

    dialogs.answers.push_back(Answer::No);
    window.tAplicarClick();
    const Box asked = dialogs.take();
    EXPECT_EQ(asked.type, Box::Question);
    EXPECT_TRUE(asked.text.contains(QStringLiteral("ainda não foram confirmados"))) << asked.text.toStdString();
    EXPECT_TRUE(applied.empty());

    dialogs.answers.push_back(Answer::No);  // the radiograph stays where it is
    window.tSalvarClick();
    EXPECT_EQ(dialogs.take().type, Box::Question);
    dialogs.take();  // "Traçado salvo em ..."
    const QByteArray saved = work.read(QStringLiteral("Análises/MARIA-INICIAL.tra"));
    EXPECT_TRUE(saved.contains("\"proposed\": [\n        \"S\",")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\"version\": 1"));

    button("tConfirmarTodos")->click();
    EXPECT_TRUE(m.proposedPoints().none());
    EXPECT_FALSE(button("tConfirmarTodos")->isEnabled());
    EXPECT_FALSE(shownValue(Measure::FMA).contains(ProposedMark()));
    EXPECT_EQ(awaitedName(), QStringLiteral("Todos os pontos foram marcados."));
    window.tAplicarClick();
    dialogs.take();  // the measures applied, no question
    EXPECT_EQ(applied.size(), 1u);

    // Reopened, the points still only proposed in the file are proposed again.
    dialogs.files.push_back(work.file(QStringLiteral("Análises/MARIA-INICIAL.tra")));
    window.tAbrirClick();
    dialogs.take();  // the open-file dialog
    EXPECT_EQ(m.proposedPoints().count(), window.placingOrder().size());
    EXPECT_TRUE(m.acceptedPoints().none());
}

TEST_F(ProposalsWindowTest, ADamagedModelIsRefusedByNameAndLearnedAgainAndNewTracingsAreLearnedOnTheirOwn)
{
    saveTracings(1, kMinimumTracings);
    work.write(LandmarkLearning::modelFile(), "QUORVEL MODELO DE PONTOS\ndamaged");
    window.tPrecisaoClick();
    const QString refused = dialogs.take().text;
    EXPECT_TRUE(refused.contains(QStringLiteral("\"Modelo de pontos.dat\" está danificado"))) << refused.toStdString();
    EXPECT_TRUE(dialogs.take().text.startsWith(QStringLiteral("Ainda não há pontos aprendidos")));
    ASSERT_TRUE(learned());  // started by itself: nothing told when it ends
    EXPECT_TRUE(DecodeModel(work.read(LandmarkLearning::modelFile())).model.has_value());
    window.tPrecisaoClick();
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("precisaoTabela"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), int(window.learning().model()->landmarks.size()));
    EXPECT_TRUE(table->item(0, 1)->text().endsWith(QStringLiteral(" mm")));

    // Saved tracings learn again once enough are new, not before.
    saveTracings(100, kRelearnAfter - 1);
    window.learning().tracingSaved();
    EXPECT_FALSE(window.learning().learning());
    saveTracings(200, 1);
    window.learning().tracingSaved();
    ASSERT_TRUE(learned());
    EXPECT_EQ(window.learning().model()->cases.size(), size_t(kMinimumTracings + kRelearnAfter));
}

}  // namespace
