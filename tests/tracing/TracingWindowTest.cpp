// FormTracado on the offscreen platform: points placed by mouse at known image positions,
// dragging with undo and redo, APLICAR against the Tweed page's states, calibration, the
// tracing file, the exports, and the window acting as a dialog.

#include "tracing/TracingWindowFixture.h"

#include "records/PatientName.h"
#include "tracing/DicomSamples.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QSlider>
#include <QWheelEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

TEST_F(TracingWindowTest, ClicksPlaceTheAwaitedPointsInOrder)
{
    openAtScaleOne();
    EXPECT_EQ(awaitedName(), QStringLiteral("S (sela)"));
    click(QPointF(150, 60));
    EXPECT_EQ(awaitedName(), QStringLiteral("N (násio)"));
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(150, 60));
    for (size_t i = 1; i < std::size(kPlaces); ++i)
        click(kPlaces[i].second);
    EXPECT_TRUE(window.landmarks().complete());
    EXPECT_EQ(window.landmarks(), expectedPoints());
    EXPECT_EQ(awaitedName(), QStringLiteral("Todos os pontos foram marcados."));

    // Angles without calibration; distances wait for one.
    EXPECT_EQ(window.values(), MakeTracingValues(MeasureTracing(expectedPoints(), {})));
    EXPECT_EQ(shownValue(Measure::FMA), QStringLiteral("36.9°"));
    EXPECT_EQ(shownValue(Measure::IMPA), QStringLiteral("90.0°"));
    EXPECT_EQ(shownValue(Measure::FMIA), QStringLiteral("53.1°"));
    EXPECT_EQ(shownValue(Measure::AFA), QStringLiteral("sem calibração"));
    EXPECT_TRUE(window.values().afa.isEmpty());
}

TEST_F(TracingWindowTest, ValuesAppearAsSoonAsTheirPointsExist)
{
    openAtScaleOne();
    click(QPointF(100, 100));  // S
    EXPECT_EQ(shownValue(Measure::SNA), QStringLiteral("falta N, A"));
    click(QPointF(200, 100));  // N
    window.pickLandmark(L::A);
    EXPECT_EQ(awaitedName(), QStringLiteral("A (subespinhal)"));
    click(QPointF(200, 200));
    EXPECT_EQ(shownValue(Measure::SNA), QStringLiteral("90.0°"));
    EXPECT_EQ(awaitedName(), QStringLiteral("Po (pório)"));  // back to the first missing
}

TEST_F(TracingWindowTest, DraggingMovesAPointAndUndoRedoFollow)
{
    openAtScaleOne();
    placeAll();
    mouse(QEvent::MouseButtonPress, QPointF(150, 60), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, QPointF(160, 65), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, QPointF(180, 90), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(180, 90));  // live while dragging
    mouse(QEvent::MouseButtonRelease, QPointF(180, 90), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(180, 90));
    EXPECT_EQ(window.undoStack().count(), 21);

    button("tDesfazer")->click();
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(150, 60));
    button("tRefazer")->click();
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(180, 90));
    for (int i = 0; i < 21; ++i)
        window.undoStack().undo();
    EXPECT_EQ(window.landmarks().count(), 0);
    EXPECT_FALSE(button("tDesfazer")->isEnabled());
}

TEST_F(TracingWindowTest, AGrabBesideTheMarkerMovesItWithoutAJumpAndUndoesExactly)
{
    openAtScaleOne();
    placeAll();
    const QPointF grab(153, 58);  // within reach of S at (150, 60)
    mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, grab + QPointF(20, 10), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, grab + QPointF(20, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(170, 70));
    window.undoStack().undo();
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(150, 60));
}

TEST_F(TracingWindowTest, AClickOnAMarkerStillPlacesTheAwaitedPoint)
{
    openAtScaleOne();
    click(QPointF(300, 300));  // S
    click(QPointF(302, 301));  // N right beside it, not a grab of S
    EXPECT_EQ(window.landmarks().at(L::S), QPointF(300, 300));
    EXPECT_EQ(window.landmarks().at(L::N), QPointF(302, 301));
}

TEST_F(TracingWindowTest, AplicarWritesTheTwelveTextsWhileTheTweedPageAcceptsThem)
{
    openAtScaleOne();
    placeAll();
    window.findChild<QLineEdit*>(QStringLiteral("calmmpx"))->setText(QStringLiteral("0.1"));
    button("tCalibrar")->click();
    EXPECT_EQ(window.calibration(), (Calibration{0.1, 0.1}));

    button("tAplicar")->click();
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("As doze medidas foram aplicadas na Análise de Tweed."), kCaption);
    ASSERT_EQ(applied.size(), 1u);
    const TracingValues v = applied[0];
    EXPECT_EQ(v, MakeTracingValues(MeasureTracing(expectedPoints(), {0.1, 0.1})));
    EXPECT_EQ(v.fma, QStringLiteral("36.9"));
    EXPECT_EQ(v.afa, QStringLiteral("26.3"));  // Me 262.99 px from ENA-ENP, at 0.1 mm
    for (const TracingField& f : TracingFields())
        EXPECT_FALSE((v.*(f.member)).isEmpty()) << f.tweed->objectName;

    accepts = false;
    tweedChanged();
    button("tAplicar")->click();
    const Box refused = dialogs.take();
    EXPECT_EQ(refused.kind, NoticeKind::Warning);
    EXPECT_TRUE(refused.text.contains(QStringLiteral("VOLTAR"))) << refused.text.toStdString();
    EXPECT_EQ(applied.size(), 1u);
}

TEST_F(TracingWindowTest, AplicarNamesWhatCouldNotBeMeasured)
{
    openAtScaleOne();
    button("tAplicar")->click();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("O traçado ainda não fornece nenhuma medida!"), kCaption);
    EXPECT_TRUE(applied.empty());

    placeAll();
    button("tAplicar")->click();
    dialogs.expectNotice(NoticeKind::Information,
                         QStringLiteral("As medidas foram aplicadas na Análise de Tweed.\rNão medidas: AO - BO, LS, QT, AFA, AFP."),
                         kCaption);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_TRUE(applied[0].aoBo.isEmpty());
    EXPECT_EQ(applied[0].impa, QStringLiteral("90.0"));
}

TEST_F(TracingWindowTest, AplicarLeavesOutAndNamesTextsLongerThanTheirFields)
{
    struct Case {
        double bx;  // B moved forward along its row
        double mmPerPixel;
        QString aoBo, qt;  // as applied
        const char* notice;
    };
    const Case cases[] = {
        {1200, 0.1, QStringLiteral("-59.5"), QStringLiteral("-81.2"), "As doze medidas foram aplicadas na Análise de Tweed."},
        {1500, 0.1, QStringLiteral("-89.5"), QString(),
         "As medidas foram aplicadas na Análise de Tweed.\rFora do intervalo dos campos (não aplicadas): QT. "
         "Confira a posição dos pontos."},
        {1200, 0.2, QString(), QString(),
         "As medidas foram aplicadas na Análise de Tweed.\rFora do intervalo dos campos (não aplicadas): AO - BO, QT. "
         "Confira a posição dos pontos."},
    };
    openAtScaleOne();
    placeAll();
    for (const Case& c : cases) {
        window.setLandmark(L::B, QPointF(c.bx, 330));
        window.setCalibration({c.mmPerPixel, c.mmPerPixel}, QStringLiteral("Calibração informada"));
        button("tAplicar")->click();
        dialogs.expectNotice(NoticeKind::Information, QString::fromUtf8(c.notice), kCaption);
        ASSERT_FALSE(applied.empty());
        EXPECT_EQ(applied.back().aoBo, c.aoBo) << c.bx;
        EXPECT_EQ(applied.back().qt, c.qt) << c.bx;
        EXPECT_EQ(applied.back().afa, window.values().afa) << c.bx;  // the rest as measured
    }
}

TEST_F(TracingWindowTest, RulerCalibration)
{
    openAtScaleOne();
    button("tRegua")->click();
    EXPECT_EQ(awaitedName(), QStringLiteral("Régua"));
    click(QPointF(100, 400));
    click(QPointF(100, 500));  // 100 pixels apart
    EXPECT_EQ(window.landmarks().count(), 0);  // ruler clicks place no landmark
    EXPECT_EQ(awaitedName(), QStringLiteral("S (sela)"));
    window.findChild<QLineEdit*>(QStringLiteral("calmm"))->setText(QStringLiteral("10.0"));
    button("tCalibrar")->click();
    EXPECT_DOUBLE_EQ(window.calibration().sx, 0.1);
    EXPECT_DOUBLE_EQ(window.calibration().sy, 0.1);

    window.findChild<QLineEdit*>(QStringLiteral("calmm"))->clear();
    button("tRegua")->click();  // new marks, no distance yet, nothing typed
    button("tCalibrar")->click();
    const Box b = dialogs.take();
    EXPECT_EQ(b.kind, NoticeKind::Warning);
    EXPECT_DOUBLE_EQ(window.calibration().sx, 0.1);  // unchanged

    // A spacing no radiograph has, typed or from marks a hair apart, is refused and named.
    for (const char* typed : {"0.00001", "500"}) {
        window.findChild<QLineEdit*>(QStringLiteral("calmmpx"))->setText(QString::fromLatin1(typed));
        button("tCalibrar")->click();
        const Box refused = dialogs.take();
        EXPECT_EQ(refused.kind, NoticeKind::Warning);
        EXPECT_TRUE(refused.text.contains(QStringLiteral("mm por pixel está fora do que uma radiografia pode ter"))) << typed;
        EXPECT_DOUBLE_EQ(window.calibration().sx, 0.1);
    }
}

TEST_F(TracingWindowTest, SalvarWritesTheTracingBesideTheTweedFile)
{
    openAtScaleOne();
    placeAll();
    stage = QStringLiteral("INTER2");
    tweedChanged();
    dialogs.answers.push_back(Answer::No);  // the radiograph stays where it is
    button("tSalvar")->click();
    EXPECT_EQ(dialogs.take().type, Box::Question);
    const QString name = QStringLiteral("Análises/MARIA-INTER2.tra");
    dialogs.expectNotice(NoticeKind::Information, QStringLiteral("Traçado salvo em \"%1\".").arg(name), kCaption);
    const QByteArray saved = work.read(name);
    EXPECT_EQ(saved, EncodeTracing(window.document()));
    EXPECT_EQ(DecodeTracing(saved).document->landmarks, expectedPoints());

    click(QPointF(0, 0));  // no point awaited: nothing changes
    window.pickLandmark(L::S);
    click(QPointF(10, 10));
    dialogs.answers.push_back(Answer::No);
    button("tSalvar")->click();
    EXPECT_EQ(dialogs.take().type, Box::Question);
    EXPECT_EQ(work.read(name), saved);
    dialogs.answers.push_back(Answer::Yes);
    button("tSalvar")->click();
    EXPECT_EQ(dialogs.take().type, Box::Question);
    dialogs.take();
    EXPECT_EQ(DecodeTracing(work.read(name)).document->landmarks.at(L::S), QPointF(10, 10));
}

TEST_F(TracingWindowTest, SalvarRefusesMissingOrUnsafeNames)
{
    openAtScaleOne();
    click(QPointF(10, 10));
    patient.clear();
    tweedChanged();
    button("tSalvar")->click();
    dialogs.expectNotice(NoticeKind::Warning, QStringLiteral("Informe o nome do paciente na Análise de Tweed antes de salvar!"),
                         kCaption);
    patient = QStringLiteral("../MARIA");
    tweedChanged();
    button("tSalvar")->click();
    dialogs.expectNotice(NoticeKind::Error, UnsafePatientNameText(), kCaption);
    EXPECT_FALSE(work.exists(QStringLiteral("MARIA-INICIAL.tra")));
}

TEST_F(TracingWindowTest, AbrirRefusesADamagedFileAndKeepsTheTracing)
{
    openAtScaleOne();
    placeAll();
    work.write(QStringLiteral("Análises/X-INICIAL.tra"), "{\"format\": \"quorvel-tracing\", \"version\": 1");
    dialogs.files.push_back(work.file(QStringLiteral("Análises/X-INICIAL.tra")));
    button("tAbrir")->click();
    EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    const Box b = dialogs.take();
    EXPECT_EQ(b.kind, NoticeKind::Error);
    EXPECT_TRUE(b.text.contains(QStringLiteral("não é um traçado válido"))) << b.text.toStdString();
    EXPECT_EQ(window.landmarks(), expectedPoints());
}

TEST_F(TracingWindowTest, AbrirWithoutItsImageUsesABlankCanvas)
{
    TracingDocument doc;
    doc.image = work.file(QStringLiteral("sumiu.dcm"));
    doc.calibration = {0.1, 0.2};
    doc.landmarks = expectedPoints();
    work.write(QStringLiteral("Análises/MARIA-INICIAL.tra"), EncodeTracing(doc));
    dialogs.files.push_back(work.file(QStringLiteral("Análises/MARIA-INICIAL.tra")));
    window.show();
    button("tAbrir")->click();
    EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    const Box b = dialogs.take();
    EXPECT_EQ(b.kind, NoticeKind::Warning);
    EXPECT_TRUE(b.text.contains(QStringLiteral("fundo vazio"))) << b.text.toStdString();
    EXPECT_EQ(window.document(), doc);
    EXPECT_GT(window.radiograph().width, 650);

    // With its image present the tracing opens silently, calibration from the file.
    doc.image = picture(QStringLiteral("outra.png"));
    work.write(QStringLiteral("Análises/MARIA-INICIAL.tra"), EncodeTracing(doc));
    dialogs.files.push_back(work.file(QStringLiteral("Análises/MARIA-INICIAL.tra")));
    button("tAbrir")->click();
    EXPECT_EQ(dialogs.take().type, Box::OpenFile);
    EXPECT_EQ(window.document(), doc);
    EXPECT_EQ(window.radiograph().width, 800);
}

TEST_F(TracingWindowTest, ExportsToPngAndPdf)
{
    openAtScaleOne();
    placeAll();
    dialogs.saveFiles.push_back(work.file(QStringLiteral("Análises/MARIA-INICIAL.png")));
    button("tExportarPng")->click();
    EXPECT_EQ(dialogs.take().type, Box::SaveFile);
    dialogs.expectNotice(NoticeKind::Information,
                         QStringLiteral("Traçado exportado em \"%1\".")
                             .arg(QDir::toNativeSeparators(work.file(QStringLiteral("Análises/MARIA-INICIAL.png")))),
                         kCaption);
    const QImage png(work.file(QStringLiteral("Análises/MARIA-INICIAL.png")));
    ASSERT_EQ(png.size(), QSize(800, 600));
    EXPECT_NE(png.pixel(500, 100), qRgb(90, 90, 90));  // Frankfort drawn on it
    EXPECT_EQ(png.pixel(790, 590), qRgb(90, 90, 90));

    dialogs.saveFiles.push_back(work.file(QStringLiteral("Análises/MARIA-INICIAL.pdf")));
    button("tExportarPdf")->click();
    EXPECT_EQ(dialogs.take().type, Box::SaveFile);
    dialogs.take();
    EXPECT_TRUE(work.read(QStringLiteral("Análises/MARIA-INICIAL.pdf")).startsWith("%PDF"));
}

TEST_F(TracingWindowTest, ActsAsADialogWhileShown)
{
    window.Open();
    EXPECT_FALSE(mainEnabled);
    EXPECT_FALSE(popOcultar.isEnabled());
    dialogs.files.push_back(work.file(QStringLiteral("nada.dcm")));
    button("tImagem")->click();
    const Box b = dialogs.take();
    EXPECT_EQ(b.type, Box::OpenFile);
    const Box error = dialogs.take();
    EXPECT_EQ(error.kind, NoticeKind::Error);
    EXPECT_FALSE(error.hideItemEnabled);
    EXPECT_FALSE(popOcultar.isEnabled());  // still off after the box
    button("tFechar")->click();
    EXPECT_TRUE(mainEnabled);
    EXPECT_TRUE(popOcultar.isEnabled());
    EXPECT_FALSE(window.isVisible());
}

}  // namespace

namespace {

TEST_F(TracingWindowTest, WheelZoomKeepsThePointUnderTheCursorAndFitShowsItAll)
{
    openAtScaleOne();
    TracingCanvas* c = window.canvas();
    const QPointF under(400, 300);
    const QPointF at = c->toWidget(under);
    QWheelEvent wheel(at, c->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(c, &wheel);
    EXPECT_DOUBLE_EQ(c->zoom(), 1.5625);  // two notches of 1.25
    EXPECT_NEAR(c->toImage(at).x(), under.x(), 1e-9);
    EXPECT_NEAR(c->toImage(at).y(), under.y(), 1e-9);

    QTest::keyClick(c, Qt::Key_0);
    const QPointF topLeft = c->toWidget(QPointF(0, 0)), bottomRight = c->toWidget(QPointF(800, 600));
    EXPECT_GE(topLeft.x(), -1e-9);
    EXPECT_GE(topLeft.y(), -1e-9);
    EXPECT_LE(bottomRight.x(), c->width() + 1e-9);
    EXPECT_LE(bottomRight.y(), c->height() + 1e-9);
    EXPECT_TRUE(std::abs(bottomRight.x() - topLeft.x() - c->width()) < 1 || std::abs(bottomRight.y() - topLeft.y() - c->height()) < 1);

    // With every point placed the left button pans.
    placeAll();
    const QPointF before = c->toWidget(QPointF(0, 0));
    mouse(QEvent::MouseButtonPress, QPointF(300, 500), Qt::LeftButton, Qt::LeftButton);
    const QPointF press = c->toWidget(QPointF(300, 500));
    QMouseEvent move(QEvent::MouseMove, press + QPointF(40, 25), c->mapToGlobal(press + QPointF(40, 25)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c, &move);
    EXPECT_EQ(c->toWidget(QPointF(0, 0)), before + QPointF(40, 25));
    EXPECT_EQ(window.landmarks(), expectedPoints());
}

TEST_F(TracingWindowTest, BrightnessContrastAndInversionChangeOnlyThePicture)
{
    openAtScaleOne();
    const auto grey = [&] { return qGray(window.canvas()->picture().pixel(10, 10)); };
    EXPECT_EQ(grey(), 90);
    window.findChild<QCheckBox*>(QStringLiteral("inverter"))->setChecked(true);
    EXPECT_EQ(grey(), 165);
    window.findChild<QCheckBox*>(QStringLiteral("inverter"))->setChecked(false);
    // The picture follows a slider a moment later, once it stops moving.
    const auto settle = [&](int before) {
        for (int i = 0; i < 500 && grey() == before; ++i)
            QTest::qWait(10);
    };
    window.findChild<QSlider*>(QStringLiteral("brilho"))->setValue(40);
    settle(90);
    const int brighter = grey();
    EXPECT_GT(brighter, 90);
    window.findChild<QSlider*>(QStringLiteral("brilho"))->setValue(0);
    window.findChild<QSlider*>(QStringLiteral("contraste"))->setValue(60);
    settle(brighter);
    EXPECT_LT(grey(), 90);  // a narrower window around the middle darkens what lies below it
    EXPECT_EQ(window.canvas()->picture().size(), QSize(800, 600));
}

TEST_F(TracingWindowTest, ADicomBringsItsOwnCalibration)
{
    DicomSample s;
    s.width = 300;
    s.height = 200;
    s.pixelSpacing = "0.2\\0.1";
    ASSERT_TRUE(WriteDicom(work.file(QStringLiteral("ceph.dcm")), s));
    ASSERT_TRUE(window.openImage(work.file(QStringLiteral("ceph.dcm"))));
    EXPECT_EQ(window.calibration(), (Calibration{0.1, 0.2}));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("calstatus"))->text(),
              QStringLiteral("Calibração do DICOM (PixelSpacing): 0.1000 mm por pixel em x, 0.2000 em y."));
    // A picture without spacing leaves the distances waiting, and says so.
    ASSERT_TRUE(window.openImage(picture()));
    EXPECT_FALSE(window.calibration().known());
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("calstatus"))->text().startsWith(QStringLiteral("Sem calibração")));
}

}  // namespace
